// Instrument voices: additive tones from the sine table, drums from sweeps and filtered noise.
// Envelopes are multiplicative per frame, which keeps them cheap and repeatable.
// Depends on: Instruments.h.
#include "Instruments.h"

#include <algorithm>
#include <cmath>

namespace democontent {

namespace {

constexpr double kFrameSeconds = 1.0 / kSampleRate;

// Per-frame factor of an exponential decay with the given time constant.
float DecayFactor(float seconds) {
    return static_cast<float>(std::exp(-kFrameSeconds / std::max(seconds, 1e-4f)));
}

// Frames of a span in seconds.
size_t Frames(double seconds) { return static_cast<size_t>(seconds * kSampleRate); }

// A one-pole high-pass filter for noise.
class HighPass {
  public:
    explicit HighPass(float cutoffHz)
        : k_(static_cast<float>(1.0 / (1.0 + 2.0 * 3.14159265 * cutoffHz * kFrameSeconds))) {}
    // Filters one sample.
    float operator()(float x) {
        y_ = k_ * (y_ + x - x_);
        x_ = x;
        return y_;
    }

  private:
    float k_;
    float x_ = 0.f, y_ = 0.f;
};

// A linear ramp from 0 to 1 over the first frames of a voice.
float Ramp(size_t i, size_t frames) { return i >= frames ? 1.f : static_cast<float>(i) / frames; }

// Left and right gains of an equal-power pan position.
struct PanGains {
    float left, right;
};

// The gains of pan (-1 left, 0 centre, 1 right).
PanGains Pan(float pan) {
    float angle = (std::clamp(pan, -1.f, 1.f) + 1.f) * 0.125f;  // in turns, 0 .. 1/4
    return {SineCycles(0.25 + angle), SineCycles(angle)};
}

// The weighted sum of the first count harmonics at phase (in cycles); harmonic h + 1 is
// weighted by weights[h] * bright^h. Uses sin((n+1)x) = 2 cos(x) sin(nx) - sin((n-1)x), so one
// table look-up pair serves every harmonic.
float Harmonics(const float* weights, int count, float bright, double phase) {
    const float s1 = SineCycles(phase);
    const float twoCos = 2.f * SineCycles(phase + 0.25);
    float previous = 0.f, current = s1, sum = 0.f, weight = 1.f;
    for (int h = 0; h < count; ++h) {
        sum += weights[h] * weight * current;
        float next = twoCos * current - previous;
        previous = current;
        current = next;
        weight *= bright;
    }
    return sum;
}

// Adds a mono sample with precomputed pan gains.
void AddWith(StereoBuffer& out, size_t i, float v, PanGains gains) {
    out.Add(i, v * gains.left, v * gains.right);
}

}  // namespace

// A tuned note: additive harmonics with attack, decay to sustain and release.
void RenderTone(StereoBuffer& out, size_t start, size_t length, double hz, float velocity,
                float pan, const ToneShape& shape) {
    const size_t attack = std::max<size_t>(Frames(shape.attackSeconds), 16);
    const size_t release = Frames(shape.releaseSeconds * 5.0);
    const size_t total = length + release;
    const float decay = DecayFactor(shape.decaySeconds);
    const float fall = DecayFactor(shape.releaseSeconds);
    const float dull = shape.brightnessDecay > 0 ? DecayFactor(1.f / shape.brightnessDecay) : 1.f;
    const double detune = std::pow(2.0, shape.detuneCents / 1200.0);
    int harmonicCount = 0;
    while (harmonicCount < 8 && (harmonicCount + 1) * hz < kSampleRate * 0.45) ++harmonicCount;
    const PanGains gains = Pan(pan);
    float level = 1.f, bright = 1.f, released = 1.f;
    double phase = 0.0, phase2 = 0.0;
    for (size_t i = 0; i < total; ++i) {
        double t = i * kFrameSeconds;
        double vib = shape.vibratoDepth > 0 && t > 0.12
                         ? shape.vibratoDepth * SineCycles(t * shape.vibratoHz) *
                               std::min(1.0, (t - 0.12) * 4.0)
                         : 0.0;
        // 2^(vib/12) to first order: vibrato depths are a fraction of a semitone.
        double step = hz * (1.0 + vib * (0.69314718 / 12.0)) * kFrameSeconds;
        float sum = Harmonics(shape.harmonics, harmonicCount, bright, phase);
        if (shape.detuneCents > 0) sum += Harmonics(shape.harmonics, harmonicCount, bright, phase2);
        phase += step;
        phase2 += step * detune;
        level = shape.sustain + (level - shape.sustain) * decay;
        bright *= dull;
        if (i >= length) released *= fall;
        // The last frames of the release fade to exactly zero.
        float tail = i + 64 >= total ? static_cast<float>(total - i) / 64.f : 1.f;
        float env = Ramp(i, attack) * level * released * tail;
        out.Add(start + i, sum * env * velocity * gains.left, sum * env * velocity * gains.right);
    }
}

// A kick drum: a sine sweeping from 150 to 45 Hz under a fast decay.
void RenderKick(StereoBuffer& out, size_t start, float velocity) {
    const size_t total = Frames(0.35);
    const float decay = DecayFactor(0.09f);
    const PanGains gains = Pan(0.f);
    float level = 1.f;
    double phase = 0.0;
    for (size_t i = 0; i < total; ++i) {
        double t = i * kFrameSeconds;
        double hz = 45.0 + 105.0 * std::exp(-t * 28.0);
        phase += hz * kFrameSeconds;
        float tail = static_cast<float>(total - i) / total;
        float v = SineCycles(phase) * level * Ramp(i, 44) * std::min(1.f, tail * 4.f);
        level *= decay;
        AddWith(out, start + i, v * velocity, gains);
    }
}

// A snare: a 190 Hz body and bright noise, both decaying quickly.
void RenderSnare(StereoBuffer& out, size_t start, float velocity, Rng& rng) {
    const size_t total = Frames(0.25);
    const float bodyDecay = DecayFactor(0.05f);
    const float noiseDecay = DecayFactor(0.07f);
    HighPass hp(1200.f);
    const PanGains gains = Pan(0.05f);
    float body = 0.6f, noise = 0.8f;
    for (size_t i = 0; i < total; ++i) {
        double t = i * kFrameSeconds;
        float tail = std::min(1.f, static_cast<float>(total - i) / (total * 0.25f));
        float v = body * SineCycles(190.0 * t) + noise * hp(static_cast<float>(rng.Signed()));
        body *= bodyDecay;
        noise *= noiseDecay;
        AddWith(out, start + i, v * velocity * Ramp(i, 30) * tail, gains);
    }
}

// A hi-hat: high-passed noise, short when closed and longer when open.
void RenderHat(StereoBuffer& out, size_t start, float velocity, bool open, float pan, Rng& rng) {
    const size_t total = Frames(open ? 0.3 : 0.08);
    const float decay = DecayFactor(open ? 0.09f : 0.018f);
    HighPass hp1(6000.f), hp2(6000.f);
    const PanGains gains = Pan(pan);
    float level = 1.f;
    for (size_t i = 0; i < total; ++i) {
        float tail = std::min(1.f, static_cast<float>(total - i) / (total * 0.3f));
        float v = hp2(hp1(static_cast<float>(rng.Signed()))) * level;
        level *= decay;
        AddWith(out, start + i, v * velocity * Ramp(i, 20) * tail, gains);
    }
}

// A tambourine-like hit: inharmonic jingles ring-modulated by noise, over a noise burst.
void RenderTambourine(StereoBuffer& out, size_t start, float velocity, Rng& rng) {
    static const double kJingles[] = {5120.0, 6370.0, 7440.0, 8910.0, 10280.0};
    const size_t total = Frames(0.22);
    const float fast = DecayFactor(0.025f);
    const float slow = DecayFactor(0.07f);
    HighPass hp(5000.f);
    const PanGains gains = Pan(0.f);
    float a = 1.f, b = 1.f;
    for (size_t i = 0; i < total; ++i) {
        double t = i * kFrameSeconds;
        float ring = 0.f;
        for (double hz : kJingles) ring += SineCycles(hz * t);
        float noise = hp(static_cast<float>(rng.Signed()));
        // A second, smaller shake 30 ms later gives the jingles their rattle.
        float shake = 1.f + (t > 0.03 ? 0.5f * std::exp(-(t - 0.03) * 40.0) : 0.f);
        float v = (noise * a * 0.7f + ring * noise * b * 0.35f) * shake;
        a *= fast;
        b *= slow;
        float tail = std::min(1.f, static_cast<float>(total - i) / (total * 0.3f));
        AddWith(out, start + i, v * velocity * Ramp(i, 30) * tail, gains);
    }
}

// A swish: noise through a high-pass whose corner rises, with a soft swell and fall.
void RenderSwish(StereoBuffer& out, size_t start, float velocity, Rng& rng) {
    const size_t total = Frames(0.14);
    float lowState = 0.f;
    for (size_t i = 0; i < total; ++i) {
        float x = static_cast<float>(i) / total;
        // A low-pass whose corner rises makes the swish brighten as the card turns.
        float corner = 0.05f + 0.5f * x;
        lowState += corner * (static_cast<float>(rng.Signed()) - lowState);
        float env = std::sin(3.14159265f * x);
        env *= env;
        out.AddPanned(start + i, lowState * env * velocity, -0.2f + 0.4f * x);
    }
}

}  // namespace democontent
