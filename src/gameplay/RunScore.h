// RunScore: score, combo and longest combo of the current run.
// Depends on: nothing.
#pragma once

#include <cstdint>

struct RunScore {
    int32_t score = 0;
    int32_t combo = 0;
    int32_t maxCombo = 0;

    // Ends the chain: keeps the longest and starts again from 0.
    void EndChain() {
        if (combo > maxCombo) maxCombo = combo;
        combo = 0;
    }
};

// The one process-wide record of the run; kept after the run ends.
RunScore& GetRunScore();
