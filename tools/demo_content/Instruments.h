// Instruments: drum hits, tuned tones and noises rendered by adding into a stereo buffer.
// Every voice starts and ends at zero (short ramps), so nothing clicks.
// Depends on: Sound.h, Rng.h.
#pragma once

#include <cstddef>

#include "Rng.h"
#include "Sound.h"

namespace democontent {

// The shape of a tuned voice: harmonic weights, envelope and movement.
struct ToneShape {
    float harmonics[8] = {1, 0, 0, 0, 0, 0, 0, 0};  // weight of harmonic 1..8
    float attackSeconds = 0.01f;
    float decaySeconds = 0.1f;     // time constant from full level down to sustain
    float sustain = 0.7f;          // level held while the note lasts
    float releaseSeconds = 0.08f;  // time constant after the note ends
    float brightnessDecay = 0.f;   // per second; upper harmonics fade faster when above 0
    float vibratoDepth = 0.f;      // in semitones
    float vibratoHz = 5.f;
    float detuneCents = 0.f;  // a second, slightly detuned copy when above 0
};

// A tuned note of length frames starting at frame start.
void RenderTone(StereoBuffer& out, size_t start, size_t length, double hz, float velocity,
                float pan, const ToneShape& shape);
// A kick drum: a falling sine thump.
void RenderKick(StereoBuffer& out, size_t start, float velocity);
// A snare: a tuned body with a burst of bright noise.
void RenderSnare(StereoBuffer& out, size_t start, float velocity, Rng& rng);
// A hi-hat: a short (or, when open, longer) burst of high noise.
void RenderHat(StereoBuffer& out, size_t start, float velocity, bool open, float pan, Rng& rng);
// A tambourine-like hit: metallic jingles over high noise.
void RenderTambourine(StereoBuffer& out, size_t start, float velocity, Rng& rng);
// A soft swish of filtered noise that rises in pitch, as of a card being turned.
void RenderSwish(StereoBuffer& out, size_t start, float velocity, Rng& rng);

}  // namespace democontent
