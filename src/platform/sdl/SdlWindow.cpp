// SdlWindow: window creation, GL attributes, the icon and the quit signals.
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
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
    if (headless) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = std::string("cannot start the video system: ") + SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!headless && driver && std::strcmp(driver, "offscreen") == 0)
        std::fprintf(stderr, "lyrandel: no display found; running on the offscreen video driver\n");
    SetGlAttributes();
    window_ = SDL_CreateWindow("Lyrandel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280,
                               720, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) {
        error = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    if (SDL_Surface* icon = MakeIcon()) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    return true;
}

void SdlWindow::Show() {
    if (window_) SDL_ShowWindow(window_);
}

bool SdlWindow::Occluded() const {
    if (!window_) return false;
    const Uint32 flags = SDL_GetWindowFlags(window_);
    return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

}  // namespace platform
