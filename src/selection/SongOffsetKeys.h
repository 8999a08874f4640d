// SongOffsetKeys: the highlighted song's own offset in the selection: "-" and "=" (and the
// keypad's - and +) move it by 5 ms, kept at once in the player's folder; it is shown beside
// the song's level while it is not 0.
// Depends on: settings/Timing.h, services (KeyInput, TextRenderer).
#pragma once

#include <cstdint>
#include <string>

// The keys: "-" and the keypad's -, "=" and the keypad's +.
inline constexpr uint32_t kOffsetDownKeys[2] = {0xBD, 0x6D};
inline constexpr uint32_t kOffsetUpKeys[2] = {0xBB, 0x6B};
// How far one press moves the offset, in ms.
inline constexpr int kOffsetStepMs = 5;

// Moves the song's offset on this frame's presses; true when it changed.
bool StepSongOffset(const std::wstring& title);
// Draws "offset +5 ms" right of the song's level when its offset is not 0.
void DrawSongOffset(const std::wstring& title);
