// RunScore: the process-wide record of the current run.
#include "gameplay/RunScore.h"

RunScore& GetRunScore() {
    static RunScore score;
    return score;
}
