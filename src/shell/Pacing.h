// FramePacing: the 16 ms slot rule that decides when a frame runs, on a 32-bit millisecond
// clock that wraps. Pure arithmetic; the frame loop asks it and the host waits for it.
// Depends on: nothing.
#pragma once

#include <cstdint>

class FramePacing {
  public:
    // Starts counting from the clock value read just before the loop.
    void Start(uint32_t now) {
        lastFrameTime_ = now;
        remainder_ = 0;
    }
    // True when a frame may run at clock value now (unsigned, so the wrap is harmless).
    bool Due(uint32_t now) const {
        return static_cast<uint32_t>(now - lastFrameTime_ + remainder_) > 16;
    }
    // Records that a frame runs at now.
    void Advance(uint32_t now) {
        remainder_ = now % 16;
        lastFrameTime_ = now;
    }
    // The earliest clock value at which Due becomes true.
    uint32_t NextDue() const { return lastFrameTime_ + 17 - remainder_; }
    uint32_t lastFrameTime() const { return lastFrameTime_; }
    uint32_t remainder() const { return remainder_; }

  private:
    uint32_t lastFrameTime_ = 0;
    uint32_t remainder_ = 0;
};
