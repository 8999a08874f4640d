// SongOffsetKeys: the keys that move a song's own offset and its text beside the level.
#include "selection/SongOffsetKeys.h"

#include <cstdio>

#include "services/KeyInput.h"
#include "services/TextRenderer.h"
#include "settings/Timing.h"

namespace {

// True when either key of the pair went down this frame.
bool Pressed(const uint32_t (&keys)[2]) {
    return KeyInput::Get().IsKeyPressed(keys[0]) || KeyInput::Get().IsKeyPressed(keys[1]);
}

}  // namespace

bool StepSongOffset(const std::wstring& title) {
    const int steps = (Pressed(kOffsetUpKeys) ? 1 : 0) - (Pressed(kOffsetDownKeys) ? 1 : 0);
    const int old = SongOffsetMs(title);
    const int wanted = old + steps * kOffsetStepMs;
    if (steps == 0 || wanted < -kMaxOffsetMs || wanted > kMaxOffsetMs) return false;
    std::string error;
    if (!SetSongOffset(title, wanted, &error))
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
    return true;
}

void DrawSongOffset(const std::wstring& title) {
    const int ms = SongOffsetMs(title);
    if (ms == 0) return;
    // Right of the level, clear of the frame, above the marks of the levels.
    DrawTextBlock(L"offset " + OffsetText(ms), {750, 384, 910, 984}, {1, 1, 1, 1});
}
