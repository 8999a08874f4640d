// ResultLine: the line a headless run prints on stdout when a run's result is complete (the
// ticker has run out and the bonus is in the score):
//   result: TITLE level N: score S, max combo C, Perfect p, Great g, OK o, Bad b, Miss m
// Depends on: gameplay/RunScore.h, selection/MusicChoice.h.
#pragma once

#include <string>

struct MusicChoice;
struct RunScore;

// The line for a run of the choice, without a line feed; the title in UTF-8.
std::string ResultLine(const MusicChoice& choice, const RunScore& run);

// Watches the run record from frame to frame.
class ResultWatch {
  public:
    // True once for each run whose result has completed since the previous call.
    bool Completed();

  private:
    bool reported_ = false;
};
