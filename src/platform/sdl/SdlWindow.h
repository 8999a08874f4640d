// SdlWindow: the game's one window ("Lyrandel", 1280x720 at first, centred, own icon) with the
// GL attributes the drawing device needs. On the desktop it can be resized, maximised and put
// in borderless fullscreen; the picture keeps its 1280x720 size and is scaled when presented.
// Serves the desktop on an X11 or Wayland display and, on the offscreen video driver, the
// headless mode.
// Depends on: SDL2.
#pragma once

#include <string>

struct SDL_Window;

namespace platform {

class SdlWindow {
  public:
    ~SdlWindow();
    // Starts SDL's video and creates the hidden window; false with a reason in error. Without
    // headless, an X11 or Wayland display is needed unless SDL_VIDEODRIVER names a driver.
    bool Create(bool headless, std::string& error);
    // Shows the window (once the first scene is ready).
    void Show();
    // Borderless fullscreen on the display the window is on, or back to a window.
    bool SetFullscreen(bool fullscreen, std::string& error);
    bool Fullscreen() const;
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
