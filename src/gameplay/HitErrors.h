// HitErrors: how early or late each judged press of a run was, in milliseconds, measured from
// its note's exact arrival: the moment the chart puts the note on the hit line (its first
// distance over the per-update motion, in fractional updates, 16 ms each), against the update
// that judged it plus the press's own time into that update's slot (services/KeyTimes.h). The
// judgement itself is the game's, untouched; this only watches it. Notes leave their lane only
// at its front, so a lane's first note is the chart's note number (first count - left).
// Also the run's summary: mean, spread, early and late counts and a histogram.
// Depends on: gameplay/PlaySession.h, gameplay/Judgement.h, services/KeyTimes.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "gameplay/Judgement.h"

struct PlaySession;

// One judged press: its lane (0 red, 1 blue), grade and error (negative early, positive late).
struct HitError {
    int lane = 0;
    Grade grade = Grade::kNone;
    double ms = 0;
};

// A run's errors summed up; all 0 without presses.
struct HitSummary {
    size_t count = 0;
    double meanMs = 0;
    double spreadMs = 0;  // the standard deviation
    size_t early = 0;     // presses before their note's arrival
    size_t late = 0;      // presses after it
    // Presses by error in 10 ms bins from -105 to +105 ms, the outer bins taking what lies
    // beyond.
    static constexpr int kBins = 21;
    static constexpr double kBinMs = 10;
    std::array<size_t, kBins> bins{};
};

class HitErrors {
  public:
    // Milliseconds of one update.
    static constexpr double kUpdateMs = 16.0;

    // Takes the chart's first note distances and tempo, before any motion.
    void Start(const PlaySession& session);
    // The notes moved one update's way (after that update's judgement).
    void NotesMoved() { ++motions_; }
    // A press of key judged the first note of lane, whose list still holds notesLeft notes.
    void Judged(int lane, size_t notesLeft, uint32_t key, Grade grade);

    const std::vector<HitError>& errors() const { return errors_; }
    // The summary of every press so far, computed once for each new press (the result screen
    // asks for it every frame).
    const HitSummary& Summary() const;

  private:
    std::array<std::vector<float>, 2> firstDistances_;
    double unit_ = 1;        // track units per update, exactly
    int64_t motions_ = 0;  // motions done before this update's judgement
    std::vector<HitError> errors_;
    mutable std::optional<HitSummary> summary_;  // of errors_, until it changes
};
