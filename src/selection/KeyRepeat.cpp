// KeyRepeat: steps due by held time, compared between one update and the next.
#include "selection/KeyRepeat.h"

#include <algorithm>

int32_t KeyRepeat::StepsDue(int32_t heldMs) {
    if (heldMs < kFirstRepeatMs) return 1;
    const int32_t slow = (std::min(heldMs, kFastAfterMs) - kFirstRepeatMs) / kRepeatMs;
    const int32_t fast = heldMs > kFastAfterMs ? (heldMs - kFastAfterMs) / kFastRepeatMs : 0;
    return 2 + slow + fast;
}

int32_t KeyRepeat::Steps(bool pressed, bool down) {
    if (pressed) {
        heldUpdates_ = 0;
        return 1;
    }
    if (!down || heldUpdates_ < 0) {
        heldUpdates_ = -1;
        return 0;
    }
    // Held updates are capped far beyond any schedule change, so the count never overflows.
    const int32_t before = StepsDue(heldUpdates_ * kUpdateMs);
    heldUpdates_ = std::min(heldUpdates_ + 1, 1 << 24);
    return StepsDue(heldUpdates_ * kUpdateMs) - before;
}
