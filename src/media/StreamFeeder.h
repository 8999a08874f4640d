// StreamFeeder: the thread that keeps every streamed sound fed, independent of frames, so a
// song plays on while the window is hidden and no frame runs. It wakes every few tens of
// milliseconds while a stream plays and sleeps otherwise. A frame whose streams run low waits
// for a pass of the thread, which keeps a mix rendered faster than real time (the headless
// capture) exact. Started with the first stream.
// Depends on: media/StreamFeed.h.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "media/StreamFeed.h"

namespace DirectX {

class StreamFeeder {
  public:
    StreamFeeder() = default;
    // Stops and joins the thread.
    ~StreamFeeder();
    StreamFeeder(const StreamFeeder&) = delete;
    StreamFeeder& operator=(const StreamFeeder&) = delete;

    // Feeds this stream from now on; wakes the thread.
    void Add(std::shared_ptr<StreamFeed> feed);
    // Feeds it no more (the caller halts it).
    void Remove(const StreamFeed* feed);
    // The frame's share: when a stream has less than half a second queued, waits for the
    // thread to fill it.
    void FeedNow();
    // Wakes the thread and returns once it has fed every stream in a pass begun after the
    // call (tests: real time passing, without a frame).
    void WaitForPass();
    // Streams being fed.
    size_t Count();

  private:
    // The thread: a pass over every stream, then a sleep until the next or a wake-up.
    void Run();
    // Drops the ended streams from the list.
    void Forget(const std::vector<const StreamFeed*>& ended);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable passed_;
    std::vector<std::shared_ptr<StreamFeed>> feeds_;
    uint64_t passes_ = 0;
    int waiters_ = 0;
    bool nudged_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace DirectX
