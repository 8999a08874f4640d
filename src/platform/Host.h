// Host: what the frame loop needs of the window system: a message queue that never blocks on
// poll, a 32-bit millisecond clock that wraps, an idle wait, a hook after each frame and the paths
// of dropped files. Two implementations: the SDL desktop window and the headless simulated clock.
// Depends on: platform/Messages.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Messages.h"

namespace platform {

class Host {
  public:
    virtual ~Host() = default;
    // Removes the next waiting message into out; false when the queue is empty.
    virtual bool PeekMessage(Message& out) = 0;
    // Queues a message behind those already waiting.
    virtual void PostMessage(const Message& message) = 0;
    // The millisecond clock; only differences between readings are meaningful.
    virtual uint32_t Ticks() = 0;
    // Waits until the clock reaches deadline or a message arrives, whichever is first.
    virtual void WaitUntil(uint32_t deadline) = 0;
    // Makes the window visible (once, after the first scene is ready).
    virtual void ShowWindow() = 0;
    // Called by the frame loop after each frame that ran its steps, numbered from 1.
    virtual void AfterFrame(uint64_t frame) = 0;
    // The paths of the files dropped on the window since the last call (the drop message
    // says that there are some), in the order dropped.
    virtual std::vector<std::string> TakeDroppedPaths() { return {}; }
};

}  // namespace platform
