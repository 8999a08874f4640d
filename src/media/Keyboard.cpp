// DirectX::Keyboard: the live key set kept from window messages, one instance at a time.
#include "media/Keyboard.h"

#include <stdexcept>

#include "platform/Messages.h"

namespace DirectX {

namespace {
// The one registered keyboard; messages without one are dropped.
Keyboard* g_instance = nullptr;

// The scan code in bits 16 to 23 of a key message's lParam.
uint32_t ScanCode(int64_t lParam) { return static_cast<uint32_t>((lParam >> 16) & 0xFF); }

// Splits the generic modifier codes into their left and right codes.
uint32_t SplitModifier(uint64_t wParam, int64_t lParam) {
    const bool extended = (lParam & platform::kExtendedKeyBit) != 0;
    switch (wParam) {
        case platform::kVkShift:
            return ScanCode(lParam) == platform::kScanRShift ? platform::kVkRShift
                                                             : platform::kVkLShift;
        case platform::kVkControl:
            return extended ? platform::kVkRControl : platform::kVkLControl;
        case platform::kVkMenu:
            return extended ? platform::kVkRMenu : platform::kVkLMenu;
        default:
            return wParam > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(wParam);
    }
}
}  // namespace

bool KeyState::IsKeyDown(uint32_t key) const {
    if (key > 254) return false;
    return (words[key / 32] >> (key % 32)) & 1u;
}

void KeyState::Set(uint32_t key, bool down) {
    if (key > 254) return;
    const uint32_t bit = 1u << (key % 32);
    if (down)
        words[key / 32] |= bit;
    else
        words[key / 32] &= ~bit;
}

Keyboard::Keyboard() {
    if (g_instance) throw std::logic_error("Keyboard is a singleton");
    g_instance = this;
}

Keyboard::~Keyboard() {
    if (g_instance == this) g_instance = nullptr;
}

void Keyboard::HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    if (!g_instance) return;
    KeyState& live = g_instance->live_;
    bool down;
    switch (message) {
        case platform::kMsgActivateApp:
            live = KeyState{};
            return;
        case platform::kMsgKeyDown:
        case platform::kMsgSysKeyDown:
            down = true;
            break;
        case platform::kMsgKeyUp:
        case platform::kMsgSysKeyUp:
            down = false;
            break;
        default:
            return;
    }
    if (wParam == platform::kVkShift && !down) {
        // Two Shift keys released together may report only one of them.
        live.Set(platform::kVkLShift, false);
        live.Set(platform::kVkRShift, false);
    }
    live.Set(SplitModifier(wParam, lParam), down);
}

KeyState Keyboard::GetState() const { return live_; }

void KeyEdgeTracker::Update(const KeyState& state) {
    for (int i = 0; i < 8; ++i) {
        pressed.words[i] = state.words[i] & ~lastState.words[i];
        released.words[i] = lastState.words[i] & ~state.words[i];
    }
    lastState = state;
}

void KeyEdgeTracker::Reset() { *this = KeyEdgeTracker{}; }

}  // namespace DirectX
