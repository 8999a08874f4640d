// Fuzz target: the replay reader on arbitrary bytes. Every input is refused with a located
// reason or accepted, never a crash or a hang; an accepted replay writes back byte for byte as
// it was read, and its events alternate down and up on its own lane keys in update order.
// Depends on: replay/ReplayFile.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "replay/ReplayFile.h"

// True when every key goes down and up in turn, in update order, and is a lane key.
bool EventsHold(const Replay& replay) {
    bool down[kLaneSlots] = {};
    int64_t last = 0;
    for (const ReplayKeyEvent& e : replay.events) {
        int slot = -1;
        for (int s = 0; s < kLaneSlots; ++s)
            if (replay.keys[s] == e.key) slot = s;
        if (slot < 0 || e.update < last || down[slot] == e.down) return false;
        down[slot] = e.down;
        last = e.update;
    }
    return true;
}

// One read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!ParseReplay(bytes, "fuzz.lrp", &replay, &error)) {
        if (error.rfind("fuzz.lrp:", 0) != 0) __builtin_trap();
        return 0;
    }
    if (FormatReplay(replay) != bytes || !EventsHold(replay)) __builtin_trap();
    return 0;
}
