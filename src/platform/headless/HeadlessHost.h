// HeadlessHost: the simulated clock (exactly one frame per 16 ms slot, no real waiting) and
// the key script's messages, queued before their frame; screenshots and other per-frame work
// run through callbacks after each frame.
// Two switches for measurements, read from the environment so they stay off the command line:
// LYRANDEL_HEADLESS_REAL_CLOCK=1 runs the frames on the real monotonic clock (real waits), and
// LYRANDEL_BENCH_REPORT=1 prints to stderr the wall-clock time of the first presented frame
// and, at the end, the frames run, the 16 ms slots without a frame and the peak memory.
// Depends on: platform/Host.h, platform/headless/KeyScript.h, platform/headless/SlotRecord.h.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "platform/headless/KeyScript.h"
#include "platform/headless/SlotRecord.h"

namespace platform {

class HeadlessHost : public Host {
  public:
    explicit HeadlessHost(KeyScript script);
    ~HeadlessHost() override;

    bool PeekMessage(Message& out) override;
    void PostMessage(const Message& message) override;
    uint32_t Ticks() override;
    void WaitUntil(uint32_t deadline) override;
    void ShowWindow() override {}
    void AfterFrame(uint64_t frame) override;
    // True when the script takes a screenshot after frame.
    bool HasShotAfter(uint64_t frame) const { return script_.shotsAfter.count(frame) != 0; }
    std::vector<std::string> TakeDroppedPaths() override;
    // True when frames follow the simulated clock (not LYRANDEL_HEADLESS_REAL_CLOCK).
    bool simulatedClock() const { return !realClock_; }

    // Called with each screenshot path after its frame.
    std::function<void(const std::string&)> onShot;
    // Called after every frame (audio capture).
    std::function<void()> onFrame;
    // Extra source of a quit request (a signal), polled with the queue.
    std::function<bool()> quitRequested;

  private:
    // Moves the script's messages of frame into the queue, and the close before quitFrame.
    void QueueFrame(uint64_t frame);

    KeyScript script_;
    std::deque<Message> queue_;
    std::vector<std::string> dropped_;
    uint32_t now_ = 0;
    bool closeSent_ = false;
    bool realClock_ = false;
    bool report_ = false;
    std::chrono::steady_clock::time_point start_;
    SlotRecord slots_;
};

}  // namespace platform
