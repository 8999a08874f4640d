// KeyTimes: when each key went down, to the microsecond where the host knows it, measured
// into its update: an update sees the presses made since the frame before it ran, its slot,
// and a press's time is how far into that slot it came (0 to about 16 ms). The keyboard's
// messages change only the live key set; the frame loop hands each key-down's own time here as
// it dispatches it, and the frame's key step makes the downs since the previous update this
// update's. A press the host gave no time (the autoplay's, a message without a stamp) counts
// as made at its slot's start, so every measure built on these times is the whole-update
// measure when nothing finer is known. Modifier keys are kept under their generic codes
// (Shift 0x10, Control 0x11, Alt 0x12).
// Depends on: platform/Messages.h (the stamp's form).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One key-down of an update and its time into the update's slot, in milliseconds.
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
    // Records a key-down already measured into the coming update's slot (a replay's).
    void KeyDownInto(uint32_t key, double ms);
    // The clock value (milliseconds) at which the coming frame runs, or at which the frame
    // loop starts; the moment before it begins the coming update's slot.
    void FrameAt(uint32_t clockMs) {
        slotStartMs_ = frameMs_;
        frameMs_ = clockMs;
    }
    // The frame's key step: the downs recorded since the previous update become this one's.
    void Update();
    // The time of key's latest down in this update, from its slot's start; 0 when it has none
    // or no time is known. A left or right modifier code finds its generic one.
    double MsIntoUpdate(uint32_t key) const;
    // The same, empty when key did not go down in this update.
    std::optional<double> DownIn(uint32_t key) const;
    // Every key-down of this update, in the order they came.
    const std::vector<KeyDownTime>& Downs() const { return downs_; }
    // Forgets everything (tests).
    void Reset();

  private:
    // Stamped downs waiting for the next update.
    struct Pending {
        uint32_t key;
        int64_t stamp;
        double ms = -1;  // the time into the slot where it is known already
    };
    std::vector<Pending> pending_;
    std::vector<KeyDownTime> downs_;
    uint32_t slotStartMs_ = 0;
    uint32_t frameMs_ = 0;
};
