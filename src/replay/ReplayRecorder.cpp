// ReplayRecorder: lane-key changes turned into events.
#include "replay/ReplayRecorder.h"

void ReplayRecorder::Record(int64_t update, uint32_t key, bool down, std::optional<float> ms) {
    const int slot = LaneSlotOf(keys_, key);
    if (slot < 0 || down_[slot] == down) return;
    down_[slot] = down;
    events_.push_back({update, key, down, ms});
}

void ReplayRecorder::Observe(int64_t update, const DirectX::KeyState& state,
                             const DownTime& downTime) {
    for (int slot = 0; slot < kLaneSlots; ++slot) {
        const bool down = state.IsKeyDown(keys_[slot]);
        const bool pressed = down && !down_[slot];
        Record(update, keys_[slot], down,
               pressed && downTime ? downTime(keys_[slot]) : std::nullopt);
    }
}
