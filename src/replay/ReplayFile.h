// ReplayFile: the replay format, version 1 (docs/replays.md): UTF-8 text, a fixed run of header
// lines "Key[value]", then "Events[N]", N event lines "UPDATE d|u KEY[ @MS]" and "End".
// The reader is strict: any line out of place, any number out of its range, an event out of
// order or naming a key that is not a lane key, and a file cut short are refused with
// "FILE:LINE: reason". Every file it accepts writes back byte for byte the same.
// Depends on: replay/Replay.h, settings/KeyBindings.h (the lane keys: their slots and which can
// be bound).
#pragma once

#include <string>
#include <string_view>

#include "replay/Replay.h"

// The format version this game writes and reads.
inline constexpr int kReplayFormatVersion = 1;
// The largest replay file read, and the most events one may hold.
inline constexpr size_t kMaxReplayBytes = 64u << 20;
inline constexpr size_t kMaxReplayEvents = 2000000;

// The text of a replay.
std::string FormatReplay(const Replay& replay);
// Reads replay text; name goes in front of messages. False with "NAME:LINE: reason" in error.
bool ParseReplay(std::string_view text, const std::string& name, Replay* replay,
                 std::string* error);
// Reads a replay file (UTF-8 path); false with "FILE:LINE: reason" or "FILE: reason".
bool ReadReplayFile(const std::string& path, Replay* replay, std::string* error);
