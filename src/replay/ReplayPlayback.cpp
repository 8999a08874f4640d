// ReplayPlayback: the recorded events applied update by update, and the lane keys set to them.
#include "replay/ReplayPlayback.h"

#include "media/Keyboard.h"
#include "platform/Messages.h"

namespace {

// The slot of a recorded key, or -1.
int SlotOf(const LaneKeys& keys, uint32_t key) {
    for (int slot = 0; slot < kLaneSlots; ++slot)
        if (keys[slot] == key) return slot;
    return -1;
}

}  // namespace

ReplayPlayback::ReplayPlayback(std::shared_ptr<const Replay> replay, const LaneKeys& now)
    : replay_(std::move(replay)), now_(now) {}

ReplayPlayback::~ReplayPlayback() {
    for (int slot = 0; slot < kLaneSlots; ++slot)
        if (down_[slot]) DirectX::Keyboard::HandleMessage(platform::kMsgKeyUp, now_[slot], 0);
}

void ReplayPlayback::BeforeRead() {
    ++update_;
    const std::vector<ReplayKeyEvent>& events = replay_->events;
    for (; next_ < events.size() && events[next_].update <= update_; ++next_) {
        const int slot = SlotOf(replay_->keys, events[next_].key);
        if (slot >= 0) down_[slot] = events[next_].down;
    }
    for (int slot = 0; slot < kLaneSlots; ++slot)
        DirectX::Keyboard::HandleMessage(down_[slot] ? platform::kMsgKeyDown : platform::kMsgKeyUp,
                                         now_[slot], 0);
}
