// KeyTable: the data that maps SDL key codes to virtual-key codes.
#include "platform/sdl/KeyTable.h"

#include "platform/Messages.h"

namespace platform {

namespace {

struct KeyRow {
    SDL_Keycode sdl;
    uint32_t vk;
    uint32_t scan;
    bool extended;
};

// Keys other than letters and digits; modifiers carry their generic code and the side.
constexpr KeyRow kKeyRows[] = {
    {SDLK_BACKSPACE, kVkBack, 0x0E, false},
    {SDLK_TAB, 0x09, 0x0F, false},
    {SDLK_RETURN, 0x0D, 0x1C, false},
    {SDLK_ESCAPE, kVkEscape, 0x01, false},
    {SDLK_SPACE, kVkSpace, 0x39, false},
    {SDLK_LEFT, 0x25, 0x4B, true},
    {SDLK_UP, 0x26, 0x48, true},
    {SDLK_RIGHT, 0x27, 0x4D, true},
    {SDLK_DOWN, 0x28, 0x50, true},
    {SDLK_LSHIFT, kVkShift, kScanLShift, false},
    {SDLK_RSHIFT, kVkShift, kScanRShift, false},
    {SDLK_LCTRL, kVkControl, 0x1D, false},
    {SDLK_RCTRL, kVkControl, 0x1D, true},
    {SDLK_LALT, kVkMenu, 0x38, false},
    {SDLK_RALT, kVkMenu, 0x38, true},
    {SDLK_F4, 0x73, 0x3E, false},
};

}  // namespace

TranslatedKey TranslateKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return {static_cast<uint32_t>('A' + (key - SDLK_a)), 0, false};
    if (key >= SDLK_0 && key <= SDLK_9)
        return {static_cast<uint32_t>('0' + (key - SDLK_0)), 0, false};
    for (const KeyRow& row : kKeyRows) {
        if (row.sdl != key) continue;
        int64_t lParam = static_cast<int64_t>(row.scan) << 16;
        if (row.extended) lParam |= kExtendedKeyBit;
        return {row.vk, lParam, row.vk == kVkMenu};
    }
    return {};
}

}  // namespace platform
