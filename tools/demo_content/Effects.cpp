// Sound effects and the title tune, each normalised and free of clicks: effects fade at both
// ends; the tune is rendered into a wrapping buffer of whole bars, so its end meets its start.
// Depends on: Effects.h, Instruments.h.
#include "Effects.h"

#include <algorithm>

#include "Instruments.h"

namespace democontent {

namespace {

// Frames of a span in seconds.
size_t Frames(double seconds) { return static_cast<size_t>(seconds * kSampleRate); }

// A struck bell-like tone that dies away by itself.
ToneShape BellShape() {
    ToneShape s;
    const float h[8] = {1.f, 0.f, 0.25f, 0.f, 0.1f, 0.f, 0.f, 0.f};
    std::copy(h, h + 8, s.harmonics);
    s.attackSeconds = 0.002f;
    s.decaySeconds = 0.16f;
    s.sustain = 0.f;
    s.releaseSeconds = 0.05f;
    return s;
}

// A plucked tone with a quick, bright attack.
ToneShape PluckShape() {
    ToneShape s;
    const float h[8] = {1.f, 0.5f, 0.3f, 0.15f, 0.08f, 0.f, 0.f, 0.f};
    std::copy(h, h + 8, s.harmonics);
    s.attackSeconds = 0.003f;
    s.decaySeconds = 0.3f;
    s.sustain = 0.f;
    s.releaseSeconds = 0.1f;
    s.brightnessDecay = 4.f;
    return s;
}

// A warm held chord tone.
ToneShape WarmPadShape() {
    ToneShape s;
    const float h[8] = {1.f, 0.3f, 0.1f, 0.f, 0.f, 0.f, 0.f, 0.f};
    std::copy(h, h + 8, s.harmonics);
    s.attackSeconds = 0.4f;
    s.decaySeconds = 1.5f;
    s.sustain = 0.8f;
    s.releaseSeconds = 0.4f;
    s.detuneCents = 6.f;
    return s;
}

}  // namespace

// The card sound: a swish and a soft tap in the middle of it.
StereoBuffer MakeCardTurn() {
    StereoBuffer out(Frames(0.22), false);
    Rng rng(101);
    RenderSwish(out, 0, 0.9f, rng);
    ToneShape tap = BellShape();
    tap.decaySeconds = 0.03f;
    RenderTone(out, Frames(0.07), Frames(0.02), 880.0, 0.25f, 0.f, tap);
    out.Normalize(0.7f);
    out.FadeEnds(32, Frames(0.01));
    return out;
}

// The sparkle: four bell tones rising through a major chord, spread across the field.
StereoBuffer MakeSparkle() {
    StereoBuffer out(Frames(0.8), false);
    const int notes[4] = {96, 100, 103, 108};
    for (int i = 0; i < 4; ++i) {
        RenderTone(out, Frames(0.035 * i), Frames(0.05), MidiToHz(notes[i]), 0.5f, -0.6f + 0.4f * i,
                   BellShape());
    }
    out.Normalize(0.7f);
    out.FadeEnds(32, Frames(0.02));
    return out;
}

// The tambourine hit.
StereoBuffer MakeTambourine() {
    StereoBuffer out(Frames(0.25), false);
    Rng rng(202);
    RenderTambourine(out, 0, 1.f, rng);
    out.Normalize(0.8f);
    out.FadeEnds(16, Frames(0.01));
    return out;
}

// The title tune: F major at 100 BPM, pad, arpeggio, bass and light drums over eight bars.
StereoBuffer MakeTitleTune() {
    constexpr int kBars = 8;
    constexpr size_t kBeat = kSampleRate * 60 / 100;  // 26460 frames
    constexpr size_t kEighth = kBeat / 2;
    // Chords as semitones above F: I vi IV V I vi ii V.
    const int chords[kBars][3] = {{0, 4, 7}, {9, 12, 16}, {5, 9, 12}, {7, 11, 14},
                                  {0, 4, 7}, {9, 12, 16}, {2, 5, 9},  {7, 11, 14}};
    const int roots[kBars] = {0, 9, 5, 7, 0, 9, 2, 7};
    const int tonic = 53;  // F3
    StereoBuffer out(kBeat * 4 * kBars, true);
    StereoBuffer arp(out.Frames(), true);
    Rng rng(303);
    const ToneShape pad = WarmPadShape(), pluck = PluckShape(), bass = PluckShape();
    for (int bar = 0; bar < kBars; ++bar) {
        size_t at = bar * kBeat * 4;
        for (int k = 0; k < 3; ++k) {
            RenderTone(out, at, kBeat * 4 - kEighth / 4, MidiToHz(tonic + chords[bar][k]), 0.08f,
                       -0.5f + 0.5f * k, pad);
        }
        static const int kArpOrder[8] = {0, 1, 2, 3, 2, 1, 0, 1};
        for (int e = 0; e < 8; ++e) {
            int tone = kArpOrder[e];
            int midi = tonic + 12 + (tone == 3 ? chords[bar][0] + 12 : chords[bar][tone]);
            RenderTone(arp, at + e * kEighth, kEighth / 2, MidiToHz(midi), 0.12f,
                       e % 2 ? 0.4f : -0.4f, pluck);
        }
        for (int beat : {0, 2}) {
            RenderTone(out, at + beat * kBeat, kBeat, MidiToHz(tonic - 12 + roots[bar]), 0.3f, 0.f,
                       bass);
            RenderKick(out, at + beat * kBeat, 0.45f);
        }
        for (int e = 1; e < 8; e += 2) RenderHat(out, at + e * kEighth, 0.07f, false, 0.3f, rng);
    }
    arp.PingPongEcho(kEighth * 3, 0.4f, 0.35f);
    out.Mix(arp, 1.f);
    out.Normalize(0.8f);
    return out;
}

}  // namespace democontent
