// SdlWindow: window creation, GL attributes, the icon and the quit signals.
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/IconArt.h"

namespace platform {

namespace {

std::atomic<bool> g_quitSignalled{false};

// Signal handler: only raises the flag; the loop turns it into a close message.
void OnQuitSignal(int) { g_quitSignalled = true; }

// The game's icon as a surface of 64 x 64 pixels.
SDL_Surface* MakeIcon() {
    constexpr int kSize = 64;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return nullptr;
    const std::vector<uint8_t> rgba = DrawIcon(kSize);
    for (int y = 0; y < kSize; ++y)
        std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch, &rgba[y * kSize * 4],
                    kSize * 4);
    return s;
}

// Asks for a 3.3 core context on an 8-bit RGB back buffer without alpha or depth.
void SetGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The environment variable's value, or empty when it is unset.
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The desktop drivers that have a display to connect to, in SDL's order of preference. Wayland
// is only tried with a socket to reach: its library complains on stderr otherwise.
std::string DisplayDrivers() {
    std::string drivers;
    if (!Env("DISPLAY").empty()) drivers = "x11";
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    std::error_code code;
    if (!Env("WAYLAND_DISPLAY").empty() ||
        (!runtime.empty() && std::filesystem::exists(runtime + "/wayland-0", code)))
        drivers += drivers.empty() ? "wayland" : ",wayland";
    return drivers;
}

// The displays DisplayDrivers found, as the player would name them.
std::string DisplayNames() {
    std::string names;
    if (!Env("DISPLAY").empty()) names = "DISPLAY=" + Env("DISPLAY");
    const std::string wayland =
        Env("WAYLAND_DISPLAY").empty() ? "wayland-0" : Env("WAYLAND_DISPLAY");
    if (DisplayDrivers().find("wayland") != std::string::npos)
        names += (names.empty() ? "" : " or ") + std::string("WAYLAND_DISPLAY=") + wayland;
    return names;
}

// The one line for a desktop start without a display.
std::string NoDisplay(const std::string& detail) {
    return "no display found (" + detail + "); lyrandel --headless --script FILE runs without one";
}

// Picks the video driver: offscreen for headless runs, whatever SDL_VIDEODRIVER names (the
// player's explicit choice), else an X11 or Wayland display; false when there is none.
bool ChooseVideoDriver(bool headless, std::string& error) {
    if (headless) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
        return true;
    }
    if (!Env("SDL_VIDEODRIVER").empty()) return true;
    const std::string drivers = DisplayDrivers();
    if (drivers.empty()) {
        error = NoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    return true;
}

}  // namespace

void InstallQuitSignals() {
    std::signal(SIGINT, OnQuitSignal);
    std::signal(SIGTERM, OnQuitSignal);
}

bool QuitSignalled() { return g_quitSignalled; }

SdlWindow::~SdlWindow() {
    if (window_) SDL_DestroyWindow(window_);
}

bool SdlWindow::Create(bool headless, std::string& error) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window's class and application id name the desktop entry, so the desktop shows
    // the game's own icon and name for its window.
    SDL_SetHint("SDL_VIDEO_X11_WMCLASS", "org.lyrandel.Lyrandel");
    SDL_SetHint("SDL_VIDEO_WAYLAND_WMCLASS", "org.lyrandel.Lyrandel");
    if (!ChooseVideoDriver(headless, error)) return false;
    const std::string chosen = Env("SDL_VIDEODRIVER");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        // SDL's own message is often empty or garbled after a failed display connection.
        if (headless)
            error = std::string("cannot start the offscreen video driver: ") + SDL_GetError();
        else if (!chosen.empty())
            error = "cannot start the video driver named by SDL_VIDEODRIVER=" + chosen +
                    "; lyrandel --headless --script FILE runs without a display";
        else
            error = NoDisplay("cannot connect to " + DisplayNames());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!headless && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        std::fprintf(stderr, "lyrandel: the window is not shown: SDL_VIDEODRIVER=%s\n", driver);
    SetGlAttributes();
    const Uint32 desktop = headless ? 0 : SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    window_ = SDL_CreateWindow("Lyrandel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280,
                               720, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | desktop);
    if (!window_) {
        error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, 320, 180);
    if (SDL_Surface* icon = MakeIcon()) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    return true;
}

void SdlWindow::Show() {
    if (window_) SDL_ShowWindow(window_);
}

bool SdlWindow::SetFullscreen(bool fullscreen, std::string& error) {
    if (!window_) return false;
    if (SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        error = std::string(fullscreen ? "cannot go fullscreen: " : "cannot leave fullscreen: ") +
                SDL_GetError();
        return false;
    }
    // The game is played from the keyboard and controllers: no pointer over a full screen.
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    return true;
}

bool SdlWindow::Fullscreen() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                          SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool SdlWindow::Occluded() const {
    if (!window_) return false;
    const Uint32 flags = SDL_GetWindowFlags(window_);
    return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

}  // namespace platform
