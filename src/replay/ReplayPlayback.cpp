// ReplayPlayback: the recorded events applied update by update, and the lane keys set to them.
#include "replay/ReplayPlayback.h"

#include "media/Keyboard.h"
#include "platform/Messages.h"
#include "services/KeyTimes.h"

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
        const ReplayKeyEvent& event = events[next_];
        const int slot = LaneSlotOf(replay_->keys, event.key);
        if (slot < 0) continue;
        // The press's time within its update, so what is measured of it is measured again.
        if (event.down && !down_[slot] && event.ms)
            KeyTimes::Get().KeyDownInto(now_[slot], *event.ms);
        down_[slot] = event.down;
    }
    for (int slot = 0; slot < kLaneSlots; ++slot)
        DirectX::Keyboard::HandleMessage(down_[slot] ? platform::kMsgKeyDown : platform::kMsgKeyUp,
                                         now_[slot], 0);
}
