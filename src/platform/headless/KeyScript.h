// KeyScript: the headless mode's script of key events, typed text, dropped files, focus
// changes, screenshots and quit, one command a line, keyed by frame number (frame 1 is the first
// frame after start-up). A key command may end in "@MS": the key changed MS milliseconds (0 to
// under 16, to the microsecond) into its frame's slot, the time since the frame before it ran,
// so timing finer than a frame can be played; without it the key changed at the slot's start.
// Depends on: platform/Messages.h.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Messages.h"

namespace platform {

struct KeyScript {
    // Messages to queue before each frame runs, in script order. Their stamps are microseconds
    // into their frame's slot (0 unless "@MS" says); the host makes them clock times.
    std::map<uint64_t, std::vector<Message>> before;
    // Paths dropped on the window before each frame (each with its drop message in before).
    std::map<uint64_t, std::vector<std::string>> dropped;
    // Screenshots to write after each frame.
    std::map<uint64_t, std::vector<std::string>> shotsAfter;
    // The frame before which the window is closed.
    uint64_t quitFrame = 1;
};

// Parses script text; false with "line N: message" in error on the first bad line.
bool ParseKeyScript(const std::string& text, KeyScript& out, std::string& error);
// The virtual-key code of a script key name (letter, digit, SPACE, ..., 0xNN); -1 if unknown.
int ScriptKeyCode(const std::string& name);

}  // namespace platform
