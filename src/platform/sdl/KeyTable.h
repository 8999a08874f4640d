// KeyTable: SDL key events in the game's virtual-key codes, as a plain data table. Letters and
// digits follow the layout's key symbol; where that symbol is not a Latin letter or digit (a
// Cyrillic or Greek layout, say) they follow the key's position, so the lanes, the menus and
// name entry work whatever layout is active.
// Depends on: SDL2 (key symbols only).
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace platform {

// The message a key event becomes: generic code plus scan code and extended flag.
struct TranslatedKey {
    uint32_t vk = 0;      // 0 when the key has no code in the game
    int64_t lParam = 0;   // scan code in bits 16..23, extended flag in bit 24
    bool system = false;  // Alt keys travel as system key messages
};

// Translates one SDL key; vk 0 for keys the game has no code for.
TranslatedKey TranslateKey(const SDL_Keysym& key);

}  // namespace platform
