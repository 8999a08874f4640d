// SdlHost: the desktop host: SDL events as window messages, SDL's millisecond clock, and an
// idle sleep until the next frame slot. Game controllers send the same key messages as the
// keyboard. F11 and Alt+Enter switch between a window and fullscreen and never reach the game.
// Events are taken as they come between frames, each message stamped with its event's time.
// Depends on: platform/Host.h, platform/sdl/SdlWindow.h, platform/sdl/Controllers.h, SDL2.
#pragma once

#include <deque>
#include <functional>

#include "platform/Host.h"
#include "platform/sdl/Controllers.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {

class SdlHost : public Host {
  public:
    // controllers may be null (keyboard only).
    SdlHost(SdlWindow& window, Controllers* controllers)
        : window_(window), controllers_(controllers) {}

    bool PeekMessage(Message& out) override;
    void PostMessage(const Message& message) override;
    uint32_t Ticks() override;
    void WaitUntil(uint32_t deadline) override;
    void ShowWindow() override { window_.Show(); }
    void AfterFrame(uint64_t) override {}

    // Called with the new mode after F11 or Alt+Enter switched it.
    std::function<void(bool fullscreen)> onFullscreenChanged;

  private:
    // Moves SDL's pending events into the message queue.
    void PumpEvents();
    // Turns one SDL event into messages of the queue.
    void Take(const SDL_Event& event);
    // True when the event is one of the display keys, which it then acts on.
    bool DisplayKey(const SDL_Event& event);
    // True when waiting for events blocks instead of polling.
    bool EventsWake() const;

    SdlWindow& window_;
    Controllers* controllers_;
    std::deque<Message> queue_;
    bool quitPosted_ = false;
    bool enterSwallowed_ = false;  // the Enter of Alt+Enter is down: its release is ours too
};

}  // namespace platform
