// HeadlessHost: simulated clock and scripted messages for the headless mode.
#include "platform/headless/HeadlessHost.h"

namespace platform {

HeadlessHost::HeadlessHost(KeyScript script) : script_(std::move(script)) { QueueFrame(1); }

void HeadlessHost::QueueFrame(uint64_t frame) {
    auto it = script_.before.find(frame);
    if (it != script_.before.end())
        for (const Message& m : it->second) queue_.push_back(m);
    if (frame == script_.quitFrame && !closeSent_) {
        closeSent_ = true;
        queue_.push_back({kMsgClose, 0, 0});
    }
}

bool HeadlessHost::PeekMessage(Message& out) {
    if (!closeSent_ && quitRequested && quitRequested()) {
        closeSent_ = true;
        queue_.push_back({kMsgClose, 0, 0});
    }
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

void HeadlessHost::PostMessage(const Message& message) { queue_.push_back(message); }

void HeadlessHost::WaitUntil(uint32_t deadline) {
    // Time stands still while messages wait; otherwise it jumps straight to the deadline.
    if (queue_.empty() && static_cast<int32_t>(deadline - now_) > 0) now_ = deadline;
}

void HeadlessHost::AfterFrame(uint64_t frame) {
    auto it = script_.shotsAfter.find(frame);
    if (it != script_.shotsAfter.end() && onShot)
        for (const std::string& path : it->second) onShot(path);
    if (onFrame) onFrame();
    QueueFrame(frame + 1);
}

}  // namespace platform
