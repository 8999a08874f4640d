// Stereo buffer arithmetic and the shared sine table.
// Depends on: Sound.h.
#include "Sound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace democontent {

StereoBuffer::StereoBuffer(size_t frames, bool wrap)
    : left_(frames, 0.f), right_(frames, 0.f), wrap_(wrap) {}

// Adds a sample pair at frame i (dropped past the end unless the buffer wraps).
void StereoBuffer::Add(size_t i, float left, float right) {
    if (i >= left_.size()) {
        if (!wrap_ || left_.empty()) return;
        i %= left_.size();
    }
    left_[i] += left;
    right_[i] += right;
}

// Adds a mono sample placed by an equal-power pan.
void StereoBuffer::AddPanned(size_t i, float value, float pan) {
    float angle = (std::clamp(pan, -1.f, 1.f) + 1.f) * 0.125f;  // in turns, 0 .. 1/4
    Add(i, value * SineCycles(0.25 + angle), value * SineCycles(angle));
}

// Adds all of other into this buffer, scaled.
void StereoBuffer::Mix(const StereoBuffer& other, float gain) {
    for (size_t i = 0; i < other.Frames(); ++i)
        Add(i, other.left_[i] * gain, other.right_[i] * gain);
}

// Scales the whole buffer so that its loudest sample has magnitude peak.
void StereoBuffer::Normalize(float peak) {
    float loudest = 0.f;
    for (size_t i = 0; i < left_.size(); ++i) {
        loudest = std::max({loudest, std::fabs(left_[i]), std::fabs(right_[i])});
    }
    if (loudest <= 0.f) return;
    float gain = peak / loudest;
    for (size_t i = 0; i < left_.size(); ++i) {
        left_[i] *= gain;
        right_[i] *= gain;
    }
}

// Linear fades over the first and last frames.
void StereoBuffer::FadeEnds(size_t fadeInFrames, size_t fadeOutFrames) {
    size_t n = left_.size();
    for (size_t i = 0; i < std::min(fadeInFrames, n); ++i) {
        float g = static_cast<float>(i) / fadeInFrames;
        left_[i] *= g;
        right_[i] *= g;
    }
    for (size_t k = 0; k < std::min(fadeOutFrames, n); ++k) {
        float g = static_cast<float>(k) / fadeOutFrames;
        left_[n - 1 - k] *= g;
        right_[n - 1 - k] *= g;
    }
}

// A feedback echo that bounces from side to side; in a wrapping buffer the echoes wrap too.
void StereoBuffer::PingPongEcho(size_t delayFrames, float feedback, float level) {
    size_t n = left_.size();
    if (delayFrames == 0 || delayFrames >= n) return;
    std::vector<float> echoL(n, 0.f), echoR(n, 0.f);
    // A second pass over a wrapping buffer lets the echoes of its end reach its start.
    size_t steps = wrap_ ? 2 * n : n;
    for (size_t k = 0; k < steps; ++k) {
        size_t i = k % n;
        size_t j = i + delayFrames;
        if (j >= n) {
            if (!wrap_) continue;
            j -= n;
        }
        echoL[j] = (left_[i] + right_[i]) * 0.5f + echoR[i] * feedback;
        echoR[j] = echoL[i] * feedback;
    }
    for (size_t i = 0; i < n; ++i) {
        left_[i] += echoL[i] * level;
        right_[i] += echoR[i] * level;
    }
}

namespace {

constexpr int kTableSize = 4096;

// One period of the sine, with a guard point for interpolation.
const std::array<float, kTableSize + 1>& SineTable() {
    static const std::array<float, kTableSize + 1> table = [] {
        std::array<float, kTableSize + 1> t{};
        for (int i = 0; i <= kTableSize; ++i) {
            t[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * i / kTableSize));
        }
        return t;
    }();
    return table;
}

}  // namespace

// sin(2 pi cycles) from the table with linear interpolation.
float SineCycles(double cycles) {
    double frac = cycles - std::floor(cycles);
    double pos = frac * kTableSize;
    int i = static_cast<int>(pos);
    if (i >= kTableSize) i = kTableSize - 1;
    float t = static_cast<float>(pos - i);
    const auto& table = SineTable();
    return table[i] + (table[i + 1] - table[i]) * t;
}

// Frequency in hertz of a MIDI note number.
double MidiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

}  // namespace democontent
