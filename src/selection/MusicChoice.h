// MusicChoice: the last confirmed choice of the selection screen, read by the gameplay.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <string>

struct MusicChoice {
    int32_t index = 0;
    std::wstring title;
    std::wstring level;
};

// The one process-wide choice record.
MusicChoice& GetMusicChoice();
