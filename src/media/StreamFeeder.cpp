// StreamFeeder: the feeding thread, its list of streams and its passes.
// Depends on: media/StreamFeeder.h.
#include "media/StreamFeeder.h"

#include <algorithm>
#include <chrono>

namespace DirectX {
namespace {

// Time between passes while streams play: a small part of the two seconds kept queued.
constexpr std::chrono::milliseconds kFeedInterval{40};

}  // namespace

StreamFeeder::~StreamFeeder() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void StreamFeeder::Add(std::shared_ptr<StreamFeed> feed) {
    {
        std::lock_guard lock(mutex_);
        feeds_.push_back(std::move(feed));
        nudged_ = true;  // fill the new stream now, not at the next pass
        if (!thread_.joinable()) thread_ = std::thread(&StreamFeeder::Run, this);
    }
    wake_.notify_all();
}

void StreamFeeder::Remove(const StreamFeed* feed) {
    std::lock_guard lock(mutex_);
    std::erase_if(feeds_, [feed](const auto& f) { return f.get() == feed; });
}

void StreamFeeder::FeedNow() {
    bool low = false;
    {
        std::lock_guard lock(mutex_);
        for (const auto& feed : feeds_) low = low || feed->RunsLow(kFramePiecesLow);
    }
    if (low) WaitForPass();
}

void StreamFeeder::WaitForPass() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) return;
    // The pass under way may have begun before the call: wait for the one after it.
    uint64_t target = passes_ + 2;
    ++waiters_;
    wake_.notify_all();
    passed_.wait(lock, [&] { return passes_ >= target || stop_; });
    --waiters_;
}

size_t StreamFeeder::Count() {
    std::lock_guard lock(mutex_);
    return feeds_.size();
}

void StreamFeeder::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        auto due = [&] { return stop_ || nudged_ || waiters_ > 0; };
        if (feeds_.empty()) {
            wake_.wait(lock, due);
        } else {
            wake_.wait_for(lock, kFeedInterval, due);
        }
        if (stop_) break;
        nudged_ = false;
        std::vector<std::shared_ptr<StreamFeed>> snapshot = feeds_;
        lock.unlock();
        std::vector<const StreamFeed*> ended;
        for (const auto& feed : snapshot)
            if (!feed->TopUp()) ended.push_back(feed.get());
        Forget(ended);
        lock.lock();
        ++passes_;
        passed_.notify_all();
    }
}

void StreamFeeder::Forget(const std::vector<const StreamFeed*>& ended) {
    if (ended.empty()) return;
    std::lock_guard lock(mutex_);
    std::erase_if(feeds_, [&](const auto& f) {
        return std::find(ended.begin(), ended.end(), f.get()) != ended.end();
    });
}

}  // namespace DirectX
