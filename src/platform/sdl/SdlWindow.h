// SdlWindow: the game's one window (1280x720, "Lyrandel", centred, fixed size, own icon) with
// the GL attributes the drawing device needs. Serves the desktop and, on the offscreen video
// driver, the headless mode.
// Depends on: SDL2.
#pragma once

#include <string>

struct SDL_Window;

namespace platform {

class SdlWindow {
  public:
    ~SdlWindow();
    // Starts SDL's video and creates the hidden window; false with a reason in error.
    bool Create(bool headless, std::string& error);
    // Shows the window (once the first scene is ready).
    void Show();
    // True when the window is minimised or hidden.
    bool Occluded() const;
    SDL_Window* handle() const { return window_; }

  private:
    SDL_Window* window_ = nullptr;
};

// Installs SIGINT/SIGTERM handlers that only raise a flag, so both hosts can quit cleanly.
void InstallQuitSignals();
// True once SIGINT or SIGTERM has arrived.
bool QuitSignalled();

}  // namespace platform
