// KeyBindings: the record, the slot of a key, the key-name table and the refusal rule.
#include "settings/KeyBindings.h"

namespace {

constexpr uint32_t kEscape = 0x1B, kSpace = 0x20, kF11 = 0x7A;

// Keys other than letters and digits that can be bound, with their names.
struct NamedKey {
    uint32_t code;
    const wchar_t* name;
};
constexpr NamedKey kNamedKeys[] = {
    {0x09, L"Tab"}, {0x0D, L"Ent"},    {0x21, L"PgU"},    {0x22, L"PgD"},    {0x23, L"End"},
    {0x24, L"Hom"}, {0x25, L"\u2190"}, {0x26, L"\u2191"}, {0x27, L"\u2192"}, {0x28, L"\u2193"},
    {0x2D, L"Ins"}, {0x2E, L"Del"},    {0x6A, L"N*"},     {0x6B, L"N+"},     {0x6D, L"N-"},
    {0x6E, L"N."},  {0x6F, L"N/"},     {0x7B, L"F12"},    {0xA0, L"LSh"},    {0xA1, L"RSh"},
    {0xA2, L"LCt"}, {0xA3, L"RCt"},    {0xA4, L"LAl"},    {0xA5, L"RAl"},    {0xBA, L";"},
    {0xBB, L"="},   {0xBC, L","},      {0xBD, L"-"},      {0xBE, L"."},      {0xBF, L"/"},
    {0xC0, L"`"},   {0xDB, L"["},      {0xDC, L"\\"},     {0xDD, L"]"},      {0xDE, L"'"},
    {0xE2, L"<>"},
};

const wchar_t* const kLaneNames[2] = {L"Red", L"Blue"};
const wchar_t* const kDirectionNames[4] = {L"Up", L"Right", L"Down", L"Left"};

}  // namespace

KeyBindings& GetKeyBindings() {
    static KeyBindings bindings;
    return bindings;
}

int LaneSlotOf(const LaneKeys& lanes, uint32_t code) {
    for (int slot = 0; slot < kLaneSlots; ++slot)
        if (lanes[slot] == code) return slot;
    return -1;
}

std::wstring KeyName(uint32_t code) {
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(code));
    if (code >= 0x60 && code <= 0x69) return L"N" + std::wstring(1, wchar_t(L'0' + code - 0x60));
    if (code >= 0x70 && code <= 0x79) return L"F" + std::to_wstring(code - 0x70 + 1);
    for (const NamedKey& key : kNamedKeys)
        if (key.code == code) return key.name;
    return L"";
}

std::wstring SlotName(int slot) {
    if (slot < 0 || slot >= kLaneSlots) return L"";
    return std::wstring(kLaneNames[slot / 4]) + L" " + kDirectionNames[slot % 4];
}

std::wstring BindingRefusal(const LaneKeys& lanes, int slot, uint32_t code) {
    if (code == kEscape) return L"Escape quits the game: it cannot play a lane";
    if (code == kSpace) return L"Space confirms: it cannot play a lane";
    if (code == kF11) return L"F11 switches the window: it cannot play a lane";
    const std::wstring name = KeyName(code);
    if (name.empty()) return L"This key cannot play a lane";
    for (int other = 0; other < kLaneSlots; ++other)
        if (other != slot && lanes[other] == code)
            return name + L" already plays " + SlotName(other);
    return L"";
}
