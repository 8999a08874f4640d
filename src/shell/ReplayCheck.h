// ReplayCheck: the headless replay check's verdict, printed after the result line: "replay
// matches" when the run played again ended with the recorded score, longest combo and grade
// counts, else "replay differs: recorded SCORE, now SCORE".
// Depends on: replay/Replay.h, gameplay/RunScore.h.
#pragma once

#include <string>

struct Replay;
struct RunScore;

// The verdict line for the run just completed; matches tells which it is.
std::string ReplayVerdict(const Replay& replay, const RunScore& run, bool* matches);
