// SdlHost: the desktop host: SDL events as window messages, SDL's millisecond clock, and an
// idle sleep until the next frame slot.
// Depends on: platform/Host.h, platform/sdl/SdlWindow.h, SDL2.
#pragma once

#include <deque>

#include "platform/Host.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {

class SdlHost : public Host {
  public:
    explicit SdlHost(SdlWindow& window) : window_(window) {}

    bool PeekMessage(Message& out) override;
    void PostMessage(const Message& message) override;
    uint32_t Ticks() override;
    void WaitUntil(uint32_t deadline) override;
    void ShowWindow() override { window_.Show(); }
    void AfterFrame(uint64_t) override {}

  private:
    // Moves SDL's pending events into the message queue.
    void PumpEvents();

    SdlWindow& window_;
    std::deque<Message> queue_;
    bool quitPosted_ = false;
};

}  // namespace platform
