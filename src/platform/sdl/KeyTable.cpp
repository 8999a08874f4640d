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
    {SDLK_INSERT, 0x2D, 0x52, true},
    {SDLK_DELETE, 0x2E, 0x53, true},
    {SDLK_HOME, 0x24, 0x47, true},
    {SDLK_END, 0x23, 0x4F, true},
    {SDLK_PAGEUP, 0x21, 0x49, true},
    {SDLK_PAGEDOWN, 0x22, 0x51, true},
    {SDLK_F1, 0x70, 0x3B, false},
    {SDLK_F2, 0x71, 0x3C, false},
    {SDLK_F3, 0x72, 0x3D, false},
    {SDLK_F4, 0x73, 0x3E, false},
    {SDLK_F5, 0x74, 0x3F, false},
    {SDLK_F6, 0x75, 0x40, false},
    {SDLK_F7, 0x76, 0x41, false},
    {SDLK_F8, 0x77, 0x42, false},
    {SDLK_F9, 0x78, 0x43, false},
    {SDLK_F10, 0x79, 0x44, false},
    {SDLK_F12, 0x7B, 0x58, false},
    {SDLK_KP_0, 0x60, 0x52, false},
    {SDLK_KP_1, 0x61, 0x4F, false},
    {SDLK_KP_2, 0x62, 0x50, false},
    {SDLK_KP_3, 0x63, 0x51, false},
    {SDLK_KP_4, 0x64, 0x4B, false},
    {SDLK_KP_5, 0x65, 0x4C, false},
    {SDLK_KP_6, 0x66, 0x4D, false},
    {SDLK_KP_7, 0x67, 0x47, false},
    {SDLK_KP_8, 0x68, 0x48, false},
    {SDLK_KP_9, 0x69, 0x49, false},
    {SDLK_KP_MULTIPLY, 0x6A, 0x37, false},
    {SDLK_KP_PLUS, 0x6B, 0x4E, false},
    {SDLK_KP_MINUS, 0x6D, 0x4A, false},
    {SDLK_KP_PERIOD, 0x6E, 0x53, false},
    {SDLK_KP_DIVIDE, 0x6F, 0x35, true},
    {SDLK_KP_ENTER, 0x0D, 0x1C, true},
};

// Punctuation keys by the character they type. Looked up only after a letter or digit at the
// key's place, so a layout that types punctuation on a letter key keeps that letter.
constexpr KeyRow kPunctuationRows[] = {
    {SDLK_SEMICOLON, 0xBA, 0x27, false},    {SDLK_EQUALS, 0xBB, 0x0D, false},
    {SDLK_PLUS, 0xBB, 0x0D, false},         {SDLK_COMMA, 0xBC, 0x33, false},
    {SDLK_MINUS, 0xBD, 0x0C, false},        {SDLK_PERIOD, 0xBE, 0x34, false},
    {SDLK_SLASH, 0xBF, 0x35, false},        {SDLK_BACKQUOTE, 0xC0, 0x29, false},
    {SDLK_LEFTBRACKET, 0xDB, 0x1A, false},  {SDLK_BACKSLASH, 0xDC, 0x2B, false},
    {SDLK_RIGHTBRACKET, 0xDD, 0x1B, false}, {SDLK_QUOTE, 0xDE, 0x28, false},
};

// Punctuation keys by their place on a US keyboard, for symbols no row above names.
struct PlaceRow {
    SDL_Scancode code;
    uint32_t vk;
};
constexpr PlaceRow kPunctuationPlaces[] = {
    {SDL_SCANCODE_SEMICOLON, 0xBA},  {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},      {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},     {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},      {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},  {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE}, {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
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

// The message parameters of a row of the tables.
TranslatedKey FromRow(const KeyRow& row) {
    int64_t lParam = static_cast<int64_t>(row.scan) << 16;
    if (row.extended) lParam |= kExtendedKeyBit;
    return {row.vk, lParam, row.vk == kVkMenu};
}

}  // namespace

TranslatedKey TranslateKey(const SDL_Keysym& key) {
    if (uint32_t vk = LatinOfSymbol(key.sym)) return {vk, 0, false};
    for (const KeyRow& row : kKeyRows)
        if (row.sdl == key.sym) return FromRow(row);
    if (uint32_t vk = LatinOfPosition(key.scancode)) return {vk, 0, false};
    for (const KeyRow& row : kPunctuationRows)
        if (row.sdl == key.sym) return FromRow(row);
    for (const PlaceRow& place : kPunctuationPlaces)
        if (place.code == key.scancode) return {place.vk, 0, false};
    return {};
}

}  // namespace platform
