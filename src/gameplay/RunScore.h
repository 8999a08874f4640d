// RunScore: score, combo and longest combo of the current run, with the count of each
// judgement and whether the result is complete, for the run's report.
// Depends on: nothing.
#pragma once

#include <cstdint>

struct RunScore {
    int32_t score = 0;
    int32_t combo = 0;
    int32_t maxCombo = 0;
    // Judgements of the run by grade; counted beside the score, never used by it.
    int32_t perfect = 0, great = 0, ok = 0, bad = 0, miss = 0;
    // True once the result's ticker has run out and the bonus is in the score.
    bool complete = false;

    // Ends the chain: keeps the longest and starts again from 0.
    void EndChain() {
        if (combo > maxCombo) maxCombo = combo;
        combo = 0;
    }
};

// The one process-wide record of the run; kept after the run ends.
RunScore& GetRunScore();
