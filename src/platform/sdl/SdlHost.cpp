// SdlHost: SDL event translation, the display keys, the clock and the idle wait.
#include "platform/sdl/SdlHost.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Codepage.h"
#include "platform/sdl/KeyTable.h"

namespace platform {

namespace {

// How often the events are looked at while a controller is open and nothing else wakes.
constexpr int32_t kControllerPollMs = 4;

// The message a key event becomes; kMsgNone for keys the game has no code for.
Message KeyMessage(const SDL_KeyboardEvent& key) {
    const TranslatedKey k = TranslateKey(key.keysym);
    if (k.vk == 0) return {};
    const bool down = key.type == SDL_KEYDOWN;
    const uint32_t code =
        k.system ? (down ? kMsgSysKeyDown : kMsgSysKeyUp) : (down ? kMsgKeyDown : kMsgKeyUp);
    return {code, k.vk, k.lParam};
}

// The message a window event becomes; kMsgNone for those the game ignores.
Message WindowMessage(const SDL_WindowEvent& window) {
    if (window.event == SDL_WINDOWEVENT_FOCUS_GAINED) return {kMsgActivateApp, 1, 0};
    if (window.event == SDL_WINDOWEVENT_FOCUS_LOST) return {kMsgActivateApp, 0, 0};
    if (window.event == SDL_WINDOWEVENT_CLOSE) return {kMsgClose, 0, 0};
    return {};
}

// True for the window events after which the window must be drawn again.
bool NeedsPicture(const SDL_WindowEvent& window) {
    switch (window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return true;
        default:
            return false;
    }
}

// One character message per code point of the text the window's text input gives.
void TextMessages(const char* utf8, std::deque<Message>& queue) {
    for (wchar_t c : Utf8ToWide(utf8)) queue.push_back(CharMessage(c));
}

}  // namespace

// A file or folder dropped on the window is kept; the drop message follows the last of a group
// (or each file, where the system sends no group).
void SdlHost::Drop(const SDL_DropEvent& drop) {
    if (drop.type == SDL_DROPBEGIN) {
        inDrop_ = true;
    } else if (drop.type == SDL_DROPFILE && drop.file) {
        dropped_.push_back(drop.file);
        if (!inDrop_) queue_.push_back({kMsgDropFiles, 0, 0});
    } else if (drop.type == SDL_DROPCOMPLETE) {
        inDrop_ = false;
        if (!dropped_.empty()) queue_.push_back({kMsgDropFiles, 0, 0});
    }
    if (drop.file) SDL_free(drop.file);
}

std::vector<std::string> SdlHost::TakeDroppedPaths() {
    std::vector<std::string> paths;
    paths.swap(dropped_);
    return paths;
}

// F11, or Enter with an Alt key held. Their releases are eaten too; a plain Enter passes.
bool SdlHost::DisplayKey(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
    const SDL_Keycode sym = e.key.keysym.sym;
    const bool enter = sym == SDLK_RETURN || sym == SDLK_KP_ENTER;
    if (sym != SDLK_F11 && !enter) return false;
    if (e.type == SDL_KEYUP) {
        const bool ours = sym == SDLK_F11 || enterSwallowed_;
        if (enter) enterSwallowed_ = false;
        return ours;
    }
    if (enter) {
        enterSwallowed_ = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (!enterSwallowed_) return false;
    }
    if (e.key.repeat) return true;
    const bool fullscreen = !window_.Fullscreen();
    std::string error;
    if (!window_.SetFullscreen(fullscreen, error)) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        return true;
    }
    if (onFullscreenChanged) onFullscreenChanged(fullscreen);
    if (onExposed) onExposed();
    return true;
}

void SdlHost::Take(const SDL_Event& e) {
    if (DisplayKey(e)) return;
    // Every message an event becomes carries the event's own time (SDL's milliseconds, the
    // clock of Ticks), so a press is timed to when it came, not to the frame that reads it.
    const size_t before = queue_.size();
    const int64_t stamp = int64_t{e.common.timestamp} * 1000;
    if (controllers_ && controllers_->Handle(e, queue_)) {
        for (size_t i = before; i < queue_.size(); ++i) queue_[i].stamp = stamp;
        return;
    }
    Message m;
    switch (e.type) {
        case SDL_QUIT:
            m = {kMsgClose, 0, 0};
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            m = KeyMessage(e.key);
            break;
        case SDL_TEXTINPUT:
            return TextMessages(e.text.text, queue_);
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPCOMPLETE:
            return Drop(e.drop);
        case SDL_WINDOWEVENT:
            if (NeedsPicture(e.window) && onExposed) onExposed();
            m = WindowMessage(e.window);
            // The keyboard's live set is cleared; what the controls held goes with it.
            if (m.code == kMsgActivateApp) {
                enterSwallowed_ = false;
                if (controllers_) controllers_->ForgetHeld();
            }
            break;
        default:
            break;
    }
    if (m.code == kMsgNone) return;
    m.stamp = stamp;
    queue_.push_back(m);
}

void SdlHost::PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Take(e);
    if (QuitSignalled() && !quitPosted_) {
        quitPosted_ = true;
        queue_.push_back({kMsgClose, 0, 0});
    }
}

bool SdlHost::PeekMessage(Message& out) {
    if (queue_.empty()) PumpEvents();
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

void SdlHost::PostMessage(const Message& message) { queue_.push_back(message); }

void SdlHost::ShowWindow() {
    window_.Show();
    SDL_StartTextInput();
}

uint32_t SdlHost::Ticks() { return SDL_GetTicks(); }

// True when SDL can block on the display's events: its X11 and Wayland drivers wait on the
// display connection. Its other drivers, and any driver while a joystick is open, make SDL
// look for events every millisecond instead.
bool SdlHost::EventsWake() const {
    if (controllers_ && controllers_->count() > 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

void SdlHost::WaitUntil(uint32_t deadline) {
    const int32_t wait = static_cast<int32_t>(deadline - SDL_GetTicks());
    if (wait <= 0 || !queue_.empty()) return;
    // An event is taken the moment it comes, so its time is the press's own; events still act
    // only at the next frame. Where waiting on events would poll, sleep instead: to the slot
    // boundary with nothing to watch, a few milliseconds at a time while a controller's
    // presses need their times.
    if (EventsWake()) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, wait)) Take(e);
        return;
    }
    const bool controllers = controllers_ && controllers_->count() > 0;
    SDL_Delay(static_cast<Uint32>(controllers ? std::min(wait, kControllerPollMs) : wait));
    if (controllers) PumpEvents();
}

}  // namespace platform
