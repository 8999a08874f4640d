// ReplayPlayback: plays a replay's key events back through the keyboard, as the keys of a
// player would arrive: before each update is read it sends the key messages that make each
// lane key down or up as it was in that update of the recorded run. A recorded key plays the
// lane slot it had then, on the key bound to that slot now, so a replay made with other keys
// plays the same. Since every lane key is set each update, the watcher's own lane keys change
// nothing.
// Depends on: replay/Replay.h, settings/KeyBindings.h (the slot of a key), services/KeyInput.h
// (KeyFeed), services/KeyTimes.h, media/Keyboard.h, platform/Messages.h.
#pragma once

#include <cstddef>
#include <memory>

#include "replay/Replay.h"
#include "services/KeyInput.h"

class ReplayPlayback : public KeyFeed {
  public:
    // Counts updates from 1 at the first feed; now are the lane keys bound now.
    ReplayPlayback(std::shared_ptr<const Replay> replay, const LaneKeys& now);
    // Lets go of the keys it holds down.
    ~ReplayPlayback() override;

    void BeforeRead() override;

  private:
    std::shared_ptr<const Replay> replay_;
    LaneKeys now_;
    int64_t update_ = 0;
    size_t next_ = 0;
    bool down_[kLaneSlots] = {};
};
