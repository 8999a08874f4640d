// NoteRecord: one note of a lane: its distance to the hit line and its direction.
// Depends on: nothing.
#pragma once

#include <cstdint>

struct NoteRecord {
    // Signed distance to the hit line in track units; positive above the line.
    float distance = 0;
    // 0 Up, 1 Right, 2 Down, 3 Left.
    int32_t direction = 0;
};
