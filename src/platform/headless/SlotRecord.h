// SlotRecord: counts the frames of a run and the 16 ms slots of the clock in which no frame
// started, for the measurement report of a headless run on the real clock.
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace platform {

class SlotRecord {
  public:
    // Records a frame that started at clock value start (milliseconds from the run's start).
    void FrameAt(uint32_t start) {
        const uint32_t slot = start / 16;
        if (frames_ > 0 && slot > lastSlot_ + 1) emptySlots_ += slot - lastSlot_ - 1;
        lastSlot_ = slot;
        ++frames_;
    }
    uint64_t frames() const { return frames_; }
    uint64_t emptySlots() const { return emptySlots_; }

  private:
    uint32_t lastSlot_ = 0;
    uint64_t frames_ = 0;
    uint64_t emptySlots_ = 0;
};

}  // namespace platform
