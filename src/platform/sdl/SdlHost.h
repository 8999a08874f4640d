// SdlHost: the desktop host: SDL events as window messages, SDL's millisecond clock, and an
// idle sleep until the next frame slot. Game controllers send the same key messages as the
// keyboard; typed text becomes character messages and files dropped on the window a drop
// message. F11 and Alt+Enter switch between a window and fullscreen and never reach the game.
// Events are taken as they come between frames, each message stamped with its event's time.
// Depends on: platform/Host.h, platform/sdl/SdlWindow.h, platform/sdl/Controllers.h, SDL2.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

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
    // Shows the window and takes typed text from then on.
    void ShowWindow() override;
    void AfterFrame(uint64_t) override {}
    std::vector<std::string> TakeDroppedPaths() override;

    // Called with the new mode after F11 or Alt+Enter switched it.
    std::function<void(bool fullscreen)> onFullscreenChanged;
    // Called when the window needs its picture again: exposed, shown, restored, resized or
    // switched between a window and fullscreen.
    std::function<void()> onExposed;

  private:
    // Moves SDL's pending events into the message queue.
    void PumpEvents();
    // Turns one SDL event into messages of the queue.
    void Take(const SDL_Event& event);
    // True when the event is one of the display keys, which it then acts on.
    bool DisplayKey(const SDL_Event& event);
    // Keeps a dropped file's path and says so when its group is complete.
    void Drop(const SDL_DropEvent& drop);
    // True when waiting for events blocks instead of polling.
    bool EventsWake() const;

    SdlWindow& window_;
    Controllers* controllers_;
    std::deque<Message> queue_;
    bool quitPosted_ = false;
    bool enterSwallowed_ = false;       // the Enter of Alt+Enter is down: its release is ours too
    std::vector<std::string> dropped_;  // dropped paths the game has not taken yet
    bool inDrop_ = false;               // between the start and the end of a group of drops
};

}  // namespace platform
