// HeadlessHost: simulated clock and scripted messages for the headless mode.
#include "platform/headless/HeadlessHost.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform {
namespace {

// True when the environment variable is set to 1.
bool Switch(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

// Wall-clock nanoseconds since the epoch, comparable with the clock of the shell that started
// the program.
long long WallNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// User and system CPU time of the process so far, in milliseconds.
long CpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000L +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000L;
}

}  // namespace

HeadlessHost::HeadlessHost(KeyScript script)
    : script_(std::move(script)),
      realClock_(Switch("LYRANDEL_HEADLESS_REAL_CLOCK")),
      report_(Switch("LYRANDEL_BENCH_REPORT")),
      start_(std::chrono::steady_clock::now()) {
    QueueFrame(1);
}

HeadlessHost::~HeadlessHost() {
    if (!report_) return;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr,
                 "lyrandel: bench: frames %llu, slots without a frame %llu, peak rss %ld KiB, "
                 "cpu %ld ms\n",
                 static_cast<unsigned long long>(slots_.frames()),
                 static_cast<unsigned long long>(slots_.emptySlots()), usage.ru_maxrss,
                 CpuMilliseconds());
}

uint32_t HeadlessHost::Ticks() {
    // The frame loop reads the clock just before each frame, so now_ is also that frame's start.
    if (realClock_)
        now_ = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start_)
                                         .count());
    return now_;
}

void HeadlessHost::QueueFrame(uint64_t frame) {
    // A frame takes the events since the frame before it (or the start): the script's times
    // are taken from that moment, which is now.
    auto it = script_.before.find(frame);
    if (it != script_.before.end())
        for (Message m : it->second) {
            m.stamp = int64_t{now_} * 1000 + m.stamp;
            queue_.push_back(m);
        }
    if (auto drop = script_.dropped.find(frame); drop != script_.dropped.end())
        for (const std::string& path : drop->second) dropped_.push_back(path);
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

std::vector<std::string> HeadlessHost::TakeDroppedPaths() {
    std::vector<std::string> paths;
    paths.swap(dropped_);
    return paths;
}

void HeadlessHost::PostMessage(const Message& message) { queue_.push_back(message); }

void HeadlessHost::WaitUntil(uint32_t deadline) {
    if (realClock_) {
        if (queue_.empty())
            std::this_thread::sleep_until(start_ + std::chrono::milliseconds(deadline));
        return;
    }
    // Time stands still while messages wait; otherwise it jumps straight to the deadline.
    if (queue_.empty() && static_cast<int32_t>(deadline - now_) > 0) now_ = deadline;
}

void HeadlessHost::AfterFrame(uint64_t frame) {
    const uint64_t emptyBefore = slots_.emptySlots();
    slots_.FrameAt(now_);
    if (report_ && slots_.emptySlots() != emptyBefore)
        std::fprintf(stderr, "lyrandel: bench: %llu slots without a frame before frame %llu\n",
                     static_cast<unsigned long long>(slots_.emptySlots() - emptyBefore),
                     static_cast<unsigned long long>(frame));
    if (report_ && frame == 1)
        std::fprintf(stderr, "lyrandel: bench: first frame presented at %lld ns, cpu %ld ms\n",
                     WallNanoseconds(), CpuMilliseconds());
    auto it = script_.shotsAfter.find(frame);
    if (it != script_.shotsAfter.end() && onShot)
        for (const std::string& path : it->second) onShot(path);
    if (onFrame) onFrame();
    QueueFrame(frame + 1);
}

}  // namespace platform
