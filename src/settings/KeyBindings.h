// KeyBindings: the eight lane keys the player chose, in lane order (red Up, Right, Down, Left,
// then blue Up, Right, Down, Left), the process-wide record the play screen reads them from,
// the lane slot of a key, the short name of every key that can be bound, and the rule that
// refuses a key. The defaults
// are the keys the game always had, W D S A and I L K J; the menus never change their keys.
// Depends on: nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Lane slots: red 0 to 3, blue 4 to 7, each lane Up, Right, Down, Left.
inline constexpr int kLaneSlots = 8;
using LaneKeys = std::array<uint32_t, kLaneSlots>;
inline constexpr LaneKeys kDefaultLaneKeys = {0x57, 0x44, 0x53, 0x41, 0x49, 0x4C, 0x4B, 0x4A};

struct KeyBindings {
    LaneKeys lanes = kDefaultLaneKeys;
    // The four keys of a lane, Up, Right, Down, Left.
    const uint32_t* red() const { return lanes.data(); }
    const uint32_t* blue() const { return lanes.data() + 4; }
};

// The lane slot code plays under lanes, or -1 when it plays none.
int LaneSlotOf(const LaneKeys& lanes, uint32_t code);

// The one process-wide bindings record (the defaults until the bindings file is read).
KeyBindings& GetKeyBindings();

// The short name shown for a key (at most three characters, so it fits beside a hit marker);
// empty for a key that cannot be bound.
std::wstring KeyName(uint32_t code);
// The name of a slot: "Red Up" ... "Blue Left".
std::wstring SlotName(int slot);
// Why code cannot be bound to slot under lanes, or empty when it can: Escape, Space, F11, a key
// with no name, or a key another slot holds.
std::wstring BindingRefusal(const LaneKeys& lanes, int slot, uint32_t code);
