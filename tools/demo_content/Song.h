// Song: what a demo song is made of (its plan), and the arrangement that turns the plan into
// timed drum hits and notes on a grid of sixteenth steps. The charts and the audio are both
// derived from one arrangement, so notes fall exactly on what is heard.
// Depends on: Canvas.h (jacket colours).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

namespace democontent {

enum class Drum { Kick, Snare, Hat, OpenHat };

struct DrumHit {
    int step = 0;  // sixteenth steps from the first beat
    Drum kind = Drum::Kick;
    float velocity = 1.f;
};

struct Note {
    int step = 0;
    int length = 1;  // in steps
    int midi = 60;
    float velocity = 1.f;
};

// One part of a song; each flag switches an instrument on for the whole part.
struct Section {
    int bars = 4;  // even, so two-bar melody phrases fit
    bool kick = false, snare = false, hats = false, bass = false, pad = false, melody = false;
    bool finale = false;  // one closing hit and a held tonic chord
    int motif = 0;        // melody phrases repeat wherever the same motif is used
    int octave = 0;       // melody octave shift
};

enum class JacketStyle { Stars, Lanterns, Sunbeam };

struct SongPlan {
    std::wstring title;  // also the folder, file stem and jacket name
    std::wstring credit;
    int ratings[3] = {1, 1, 1};
    int bpm = 120;
    int keyMidi = 60;  // tonic of the melody's octave
    bool minor = false;
    std::vector<int> progression;  // chord root as scale degree, one per bar, repeated
    // Sixteen-step patterns for one bar: kick and snare "x" (hit) or "g" (ghost);
    // hats "x" closed or "o" open; bass "x" root, "o" octave, "5" fifth, "-" hold.
    std::string kick, snare, hat, bass;
    std::vector<Section> sections;
    uint32_t seed = 1;
    JacketStyle jacket = JacketStyle::Stars;
    Rgba jacketTop, jacketBottom, jacketAccent;
};

struct Arrangement {
    int bpm = 120;
    size_t stepFrames = 0;  // audio frames per sixteenth step
    size_t leadFrames = 0;  // silence before the first beat
    int totalSteps = 0;
    size_t totalFrames = 0;  // length of the rendered song, tail included
    std::vector<DrumHit> drums;
    std::vector<Note> melody, bass, pad;

    // Audio frame at which step sounds.
    size_t FrameOfStep(int step) const {
        return leadFrames + static_cast<size_t>(step) * stepFrames;
    }
};

// Lays the plan out in time; throws std::runtime_error for a tempo that does not give a whole
// number of frames per step.
Arrangement Arrange(const SongPlan& plan);

}  // namespace democontent
