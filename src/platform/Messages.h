// Window messages in the game's own terms: the platform layer translates its events into these
// codes and virtual-key codes, so the window procedure and the keyboard stay platform-free.
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace platform {

// Message codes, numbered as the keyboard's contract expects them.
enum MessageCode : uint32_t {
    kMsgNone = 0,
    kMsgDestroy = 0x0002,
    kMsgClose = 0x0010,
    kMsgQuit = 0x0012,
    kMsgActivateApp = 0x001C,
    kMsgKeyDown = 0x0100,
    kMsgKeyUp = 0x0101,
    kMsgChar = 0x0102,  // one typed character: wParam is its Unicode code point
    kMsgSysKeyDown = 0x0104,
    kMsgSysKeyUp = 0x0105,
    kMsgDropFiles = 0x0233,  // files were dropped on the window: the host holds their paths
};

// Virtual-key codes that the translation tables and the game name.
enum VirtualKey : uint32_t {
    kVkBack = 0x08,
    kVkReturn = 0x0D,
    kVkShift = 0x10,
    kVkControl = 0x11,
    kVkMenu = 0x12,
    kVkEscape = 0x1B,
    kVkSpace = 0x20,
    kVkLShift = 0xA0,
    kVkRShift = 0xA1,
    kVkLControl = 0xA2,
    kVkRControl = 0xA3,
    kVkLMenu = 0xA4,
    kVkRMenu = 0xA5,
};

// Scan codes carried in bits 16 to 23 of a key message's lParam for the two Shift keys.
constexpr uint32_t kScanLShift = 0x2A;
constexpr uint32_t kScanRShift = 0x36;
// Bit 24 of lParam: the extended-key flag that marks right Control and right Alt.
constexpr int64_t kExtendedKeyBit = int64_t{1} << 24;

// A message whose host did not say when its event happened.
constexpr int64_t kNoStamp = INT64_MIN;

// One queued message: code plus its two parameters, and when its event happened: microseconds
// on the host's millisecond clock (the clock value times 1000, plus the part of a millisecond
// where the host knows it), or kNoStamp. The keyboard never reads the time; the key-down times
// are kept beside it (services/KeyTimes.h).
struct Message {
    uint32_t code = kMsgNone;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    int64_t stamp = kNoStamp;
};

// The message of one typed character.
inline Message CharMessage(wchar_t c) {
    return {kMsgChar, static_cast<uint64_t>(static_cast<uint32_t>(c)), 0};
}

}  // namespace platform
