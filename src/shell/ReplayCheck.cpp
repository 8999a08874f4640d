// ReplayCheck: the recorded outcome against the run's.
#include "shell/ReplayCheck.h"

#include "gameplay/RunScore.h"
#include "replay/Replay.h"

std::string ReplayVerdict(const Replay& replay, const RunScore& run, bool* matches) {
    const ReplayOutcome now{run.score, run.maxCombo, run.perfect, run.great,
                            run.ok,    run.bad,      run.miss};
    *matches = now == replay.outcome;
    if (*matches) return "replay matches";
    return "replay differs: recorded " + std::to_string(replay.outcome.score) + ", now " +
           std::to_string(run.score);
}
