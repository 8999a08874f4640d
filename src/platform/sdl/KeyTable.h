// KeyTable: SDL key codes in the game's virtual-key codes, as a plain data table.
// Depends on: SDL2 (key codes only).
#pragma once

#include <SDL_keycode.h>

#include <cstdint>

namespace platform {

// The message a key event becomes: generic code plus scan code and extended flag.
struct TranslatedKey {
    uint32_t vk = 0;      // 0 when the key has no code in the game
    int64_t lParam = 0;   // scan code in bits 16..23, extended flag in bit 24
    bool system = false;  // Alt keys travel as system key messages
};

// Translates one SDL key code; vk 0 for keys the game has no code for.
TranslatedKey TranslateKey(SDL_Keycode key);

}  // namespace platform
