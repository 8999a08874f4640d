// SdlHost: SDL event translation, the clock and the idle wait.
#include "platform/sdl/SdlHost.h"

#include <SDL.h>

#include "platform/sdl/KeyTable.h"

namespace platform {

namespace {

// The message an SDL event becomes; kMsgNone for events the game ignores.
Message Translate(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            return {kMsgClose, 0, 0};
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const TranslatedKey k = TranslateKey(e.key.keysym.sym);
            if (k.vk == 0) return {};
            const bool down = e.type == SDL_KEYDOWN;
            const uint32_t code = k.system ? (down ? kMsgSysKeyDown : kMsgSysKeyUp)
                                           : (down ? kMsgKeyDown : kMsgKeyUp);
            return {code, k.vk, k.lParam};
        }
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) return {kMsgActivateApp, 1, 0};
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) return {kMsgActivateApp, 0, 0};
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) return {kMsgClose, 0, 0};
            return {};
        default:
            return {};
    }
}

}  // namespace

void SdlHost::PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        const Message m = Translate(e);
        if (m.code != kMsgNone) queue_.push_back(m);
    }
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

uint32_t SdlHost::Ticks() { return SDL_GetTicks(); }

void SdlHost::WaitUntil(uint32_t deadline) {
    const int32_t wait = static_cast<int32_t>(deadline - SDL_GetTicks());
    // Events only act at the next frame, so they may wait in the system queue until then;
    // sleeping to the slot boundary costs no CPU, where waiting on the queue may poll.
    if (wait > 0 && queue_.empty()) SDL_Delay(static_cast<Uint32>(wait));
}

}  // namespace platform
