// ReplayRecorder: the one place a run's key events are recorded, as (update, key, down or up,
// and the key's time within its update where the run knows it). Only the lane keys are kept,
// since nothing else reaches the judgement, and only real changes, so the events always
// alternate down and up for each key.
// Depends on: replay/Replay.h, settings/KeyBindings.h (the slot of a key), media/Keyboard.h (the
// key state an update sees).
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "media/Keyboard.h"
#include "replay/Replay.h"

class ReplayRecorder {
  public:
    explicit ReplayRecorder(const LaneKeys& keys) : keys_(keys) {}

    // The time of a key's down within its update, where the run knows it.
    using DownTime = std::function<std::optional<float>(uint32_t key)>;
    // Records the lane keys whose state in what update sees differs from the update before;
    // a key that went down takes its time from downTime when one is given.
    void Observe(int64_t update, const DirectX::KeyState& state, const DownTime& downTime = {});

    const std::vector<ReplayKeyEvent>& events() const { return events_; }

  private:
    // One key event before update (from 1); other keys and repeats are left out.
    void Record(int64_t update, uint32_t key, bool down, std::optional<float> ms);

    LaneKeys keys_;
    bool down_[kLaneSlots] = {};
    std::vector<ReplayKeyEvent> events_;
};
