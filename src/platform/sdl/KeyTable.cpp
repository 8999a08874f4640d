// KeyTable: the data that maps SDL keys to virtual-key codes.
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

// The letter or digit of a key symbol ('A'..'Z', '0'..'9'), or 0.
uint32_t LatinOfSymbol(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + uint32_t(sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + uint32_t(sym - SDLK_0);
    return 0;
}

// The letter or digit printed on a key at this position of a US keyboard, or 0. The digit row
// runs 1 to 9, then 0.
uint32_t LatinOfPosition(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z)
        return 'A' + uint32_t(code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9)
        return '1' + uint32_t(code - SDL_SCANCODE_1);
    if (code == SDL_SCANCODE_0) return '0';
    return 0;
}

}  // namespace

TranslatedKey TranslateKey(const SDL_Keysym& key) {
    if (uint32_t vk = LatinOfSymbol(key.sym)) return {vk, 0, false};
    for (const KeyRow& row : kKeyRows) {
        if (row.sdl != key.sym) continue;
        int64_t lParam = static_cast<int64_t>(row.scan) << 16;
        if (row.extended) lParam |= kExtendedKeyBit;
        return {row.vk, lParam, row.vk == kVkMenu};
    }
    if (uint32_t vk = LatinOfPosition(key.scancode)) return {vk, 0, false};
    return {};
}

}  // namespace platform
