// ResultLine: the result line and the watch that notices a completed run once.
#include "shell/ResultLine.h"

#include "gameplay/RunScore.h"
#include "platform/Codepage.h"
#include "selection/MusicChoice.h"

std::string ResultLine(const MusicChoice& choice, const RunScore& run) {
    auto n = [](int32_t v) { return std::to_string(v); };
    return "result: " + platform::WideToUtf8(choice.title) + " level " +
           platform::WideToUtf8(choice.level) + ": score " + n(run.score) + ", max combo " +
           n(run.maxCombo) + ", Perfect " + n(run.perfect) + ", Great " + n(run.great) + ", OK " +
           n(run.ok) + ", Bad " + n(run.bad) + ", Miss " + n(run.miss);
}

// A new run clears the record's completion, which arms the watch again.
bool ResultWatch::Completed() {
    const bool complete = GetRunScore().complete;
    if (!complete) reported_ = false;
    if (!complete || reported_) return false;
    reported_ = true;
    return true;
}
