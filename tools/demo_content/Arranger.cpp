// Arrangement of a song plan: drums and bass from one-bar patterns, pad chords from the
// progression, and a melody of two-bar phrases drawn from rhythm templates with pitches that
// land on chord tones on the beats.
// Depends on: Song.h, Rng.h.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "Rng.h"
#include "Song.h"
#include "Sound.h"

namespace democontent {

namespace {

constexpr int kStepsPerBar = 16;
constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// Two-bar melody rhythms in eighths: "x" starts a note, "-" holds it, "." rests.
const char* const kRhythms[] = {
    "x-x.x-xxx-x.x---", "x.xxx-x.x-x-x---", "xx.x-xx.x-.xx---",
    "x-x-x-xxx-xxx---", "x--xx-x.x-x-x-x-",
};

// Semitones above the tonic of a scale degree (any integer, octaves included).
int DegreeToSemitones(int degree, bool minor) {
    int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    int inOctave = degree - octave * 7;
    return octave * 12 + (minor ? kMinor : kMajor)[inOctave];
}

// The chord tone degree (root, third or fifth of root) nearest to target; with alternate, the
// second nearest.
int NearestChordTone(int root, int target, bool alternate) {
    int best = 0, second = 0, bestGap = 1000, secondGap = 1000;
    for (int octave = -2; octave <= 3; ++octave) {
        for (int k = 0; k < 3; ++k) {
            int d = root + 2 * k + 7 * octave;
            int gap = std::abs(d - target);
            if (gap < bestGap) {
                second = best, secondGap = bestGap;
                best = d, bestGap = gap;
            } else if (gap < secondGap) {
                second = d, secondGap = gap;
            }
        }
    }
    return alternate ? second : best;
}

// Chord root degree of a bar.
int ChordOf(const SongPlan& plan, int bar) {
    return plan.progression[bar % plan.progression.size()];
}

// Drums of one bar from the plan's patterns.
void AddDrumBar(const SongPlan& plan, const Section& s, int barStep, Arrangement& out) {
    for (int i = 0; i < kStepsPerBar; ++i) {
        float accent = i == 0 ? 1.f : (i % 4 == 0 ? 0.9f : 0.75f);
        if (s.kick && plan.kick[i] != '.') {
            out.drums.push_back({barStep + i, Drum::Kick, plan.kick[i] == 'g' ? 0.5f : accent});
        }
        if (s.snare && plan.snare[i] != '.') {
            out.drums.push_back({barStep + i, Drum::Snare, plan.snare[i] == 'g' ? 0.35f : 0.9f});
        }
        if (s.hats && plan.hat[i] != '.') {
            Drum kind = plan.hat[i] == 'o' ? Drum::OpenHat : Drum::Hat;
            out.drums.push_back({barStep + i, kind, i % 4 == 0 ? 0.8f : 0.55f});
        }
    }
}

// Bass notes of one bar from the plan's pattern, on the bar's chord root.
void AddBassBar(const SongPlan& plan, int bar, int barStep, Arrangement& out) {
    int root = plan.keyMidi - 24 + DegreeToSemitones(ChordOf(plan, bar) % 7, plan.minor);
    int fifth = plan.keyMidi - 24 + DegreeToSemitones(ChordOf(plan, bar) % 7 + 4, plan.minor);
    for (int i = 0; i < kStepsPerBar; ++i) {
        char c = plan.bass[i];
        if (c == '-' && !out.bass.empty() && out.bass.back().step >= barStep) {
            out.bass.back().length += 1;
        } else if (c == 'x' || c == 'o' || c == '5') {
            int midi = c == 'x' ? root : (c == 'o' ? root + 12 : fifth);
            out.bass.push_back({barStep + i, 1, midi, i % 4 == 0 ? 1.f : 0.8f});
        }
    }
}

// The bar's chord as three held pad notes, voiced close around the tonic.
void AddPadBar(const SongPlan& plan, int bar, int barStep, int bars, Arrangement& out) {
    int root = ChordOf(plan, bar);
    for (int k = 0; k < 3; ++k) {
        int d = root + 2 * k;
        while (d > 4) d -= 7;
        out.pad.push_back({barStep, kStepsPerBar * bars,
                           plan.keyMidi - 12 + DegreeToSemitones(d, plan.minor), 0.6f});
    }
}

// One two-bar melody phrase; the same motif and phrase parity always give the same notes.
void AddPhrase(const SongPlan& plan, const Section& s, int phrase, int firstBar, int barStep,
               Arrangement& out) {
    Rng rng(plan.seed * 7919u + static_cast<uint32_t>(s.motif) * 104729u +
            static_cast<uint32_t>(phrase % 2) * 15485863u + 17u);
    const char* rhythm = kRhythms[(plan.seed + s.motif * 2 + phrase % 2) % 5];
    int degree = 2 + rng.Below(3);
    int lastOnset = 15;
    while (rhythm[lastOnset] != 'x') --lastOnset;
    for (int e = 0; e < 16; ++e) {
        if (rhythm[e] != 'x') continue;
        int bar = firstBar + e / 8;
        int chord = ChordOf(plan, bar);
        if (e == lastOnset) {
            // A phrase comes to rest on the chord's root, in the octave nearest to it.
            int root = chord;
            while (root - degree > 3) root -= 7;
            while (degree - root > 3) root += 7;
            degree = root;
        } else if (e % 2 == 0) {
            degree = NearestChordTone(chord, degree + rng.Below(3) - 1, rng.Below(4) == 0);
        } else {
            static const int kMoves[] = {-2, -1, -1, 1, 1, 2};
            degree += kMoves[rng.Below(6)];
        }
        degree = std::clamp(degree, -2, 9);
        int length = 1;
        while (e + length < 16 && rhythm[e + length] == '-') ++length;
        int midi = plan.keyMidi + 12 * s.octave + DegreeToSemitones(degree, plan.minor);
        out.melody.push_back({barStep + e * 2, length * 2, midi, e % 4 == 0 ? 1.f : 0.85f});
    }
}

// The closing bars: one hit on the downbeat and the tonic chord held.
void AddFinale(const SongPlan& plan, const Section& s, int barStep, Arrangement& out) {
    out.drums.push_back({barStep, Drum::Kick, 1.f});
    out.drums.push_back({barStep, Drum::OpenHat, 0.8f});
    out.bass.push_back({barStep, 8, plan.keyMidi - 24, 1.f});
    for (int k = 0; k < 3; ++k) {
        out.pad.push_back({barStep, kStepsPerBar * s.bars,
                           plan.keyMidi - 12 + DegreeToSemitones(2 * k, plan.minor), 0.7f});
    }
    out.melody.push_back({barStep, kStepsPerBar, plan.keyMidi + 12 * s.octave, 0.9f});
}

}  // namespace

// Lays the plan out in time.
Arrangement Arrange(const SongPlan& plan) {
    Arrangement out;
    out.bpm = plan.bpm;
    // Frames per sixteenth: 44100 * 60 / (4 * BPM), which must be whole for exact timing.
    const int perMinute = kSampleRate * 60;
    if (plan.bpm <= 0 || perMinute % (plan.bpm * 4) != 0) {
        throw std::runtime_error("song tempo gives no whole number of frames per step");
    }
    out.stepFrames = static_cast<size_t>(perMinute / (plan.bpm * 4));
    out.leadFrames = kSampleRate;  // one second of silence before the first beat
    int bar = 0;
    for (const Section& s : plan.sections) {
        int barStep = bar * kStepsPerBar;
        if (s.finale) {
            AddFinale(plan, s, barStep, out);
        } else {
            for (int b = 0; b < s.bars; ++b) {
                int step = (bar + b) * kStepsPerBar;
                AddDrumBar(plan, s, step, out);
                if (s.bass) AddBassBar(plan, bar + b, step, out);
                if (s.pad) AddPadBar(plan, bar + b, step, 1, out);
            }
            for (int p = 0; s.melody && p * 2 < s.bars; ++p) {
                AddPhrase(plan, s, p, bar + 2 * p, barStep + p * 2 * kStepsPerBar, out);
            }
        }
        bar += s.bars;
    }
    out.totalSteps = bar * kStepsPerBar;
    out.totalFrames = out.FrameOfStep(out.totalSteps) + 2 * kSampleRate;  // tail rings out
    auto byStep = [](const auto& a, const auto& b) { return a.step < b.step; };
    std::stable_sort(out.drums.begin(), out.drums.end(), byStep);
    return out;
}

}  // namespace democontent
