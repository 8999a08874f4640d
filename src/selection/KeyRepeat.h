// KeyRepeat: a held key steps again after 250 ms, then every 50 ms, and every 25 ms once it has
// been held for 2 s; one press steps exactly once. Time is counted on the update clock (16 ms
// an update), so the headless mode and the real clock step alike.
// Depends on: nothing.
#pragma once

#include <cstdint>

class KeyRepeat {
  public:
    // The steps of this update for one key: 1 in the update it went down (pressed), then the
    // repeats due while it stays down; 0 once it is up.
    int32_t Steps(bool pressed, bool down);

    // Milliseconds an update stands for, and the repeat schedule.
    static constexpr int32_t kUpdateMs = 16;
    static constexpr int32_t kFirstRepeatMs = 250;
    static constexpr int32_t kRepeatMs = 50;
    static constexpr int32_t kFastAfterMs = 2000;
    static constexpr int32_t kFastRepeatMs = 25;

    // The steps due after a key was held for heldMs, the first press included.
    static int32_t StepsDue(int32_t heldMs);

  private:
    int32_t heldUpdates_ = -1;  // updates since the key went down; -1 while it is up
};
