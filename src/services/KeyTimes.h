// KeyTimes: when each key went down, to the microsecond where the host knows it, measured
// from the moment its update ran. The keyboard's messages change only the live key set; the
// frame loop hands each key-down's own time here as it dispatches it, and the frame's key step
// makes the downs since the previous update this update's. A press the host gave no time (the
// autoplay's, a message without a stamp) counts as made at the update's own moment, so every
// measure built on these times is the whole-update measure when nothing finer is known.
// On the desktop a press is seen by the first update after it, so its time is at or before
// the update's (0 to -16 ms); a headless script may stamp a press later within its update.
// Modifier keys are kept under their generic codes (Shift 0x10, Control 0x11, Alt 0x12).
// Depends on: platform/Messages.h (the stamp's form).
#pragma once

#include <cstdint>
#include <vector>

// One key-down of an update and its time from the update's moment, in milliseconds.
struct KeyDownTime {
    uint32_t key = 0;
    double ms = 0;
};

class KeyTimes {
  public:
    // The single record, created empty on first use.
    static KeyTimes& Get();

    // Records a key-down message of key with its stamp (platform::kNoStamp when unknown).
    void KeyDown(uint64_t key, int64_t stamp);
    // The clock value (milliseconds) at which the coming frame runs.
    void FrameAt(uint32_t clockMs) { frameMs_ = clockMs; }
    // The frame's key step: the downs recorded since the previous update become this one's.
    void Update();
    // The time of key's latest down in this update, from the update's moment; 0 when it has
    // none or no time is known.
    double MsIntoUpdate(uint32_t key) const;
    // Every key-down of this update, in the order they came.
    const std::vector<KeyDownTime>& Downs() const { return downs_; }
    // Forgets everything (tests).
    void Reset();

  private:
    // Stamped downs waiting for the next update.
    struct Pending {
        uint32_t key;
        int64_t stamp;
    };
    std::vector<Pending> pending_;
    std::vector<KeyDownTime> downs_;
    uint32_t frameMs_ = 0;
};
