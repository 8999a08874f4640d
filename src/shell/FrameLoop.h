// FrameLoop: drains the host's messages, runs one frame per 16 ms slot, hands scenes over and
// stands still while the window is occluded. Between polls it waits for the next message or
// the next slot instead of spinning; the schedule of frames is that of the slot rule.
// Depends on: platform/Host.h, shell/Scene.h, shell/FrameSteps.h, shell/Pacing.h.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Host.h"
#include "shell/FrameSteps.h"
#include "shell/Pacing.h"
#include "shell/Scene.h"

class FrameLoop {
  public:
    enum class Outcome { Quit, SceneFailed };

    FrameLoop(platform::Host& host, FrameSteps& steps, std::unique_ptr<Scene> first);

    // Runs until the quit message or a failed hand-over.
    Outcome Run();
    // Runs one frame's steps; false when a handed-over scene failed to initialise.
    bool RunFrame();
    // Applies one message as the window procedure does; false when it is the quit message.
    bool Dispatch(const platform::Message& message);

    Scene* currentScene() const { return scene_.get(); }
    bool occluded() const { return occluded_; }
    uint64_t framesRun() const { return framesRun_; }

  private:
    platform::Host& host_;
    FrameSteps& steps_;
    std::unique_ptr<Scene> scene_;
    FramePacing pacing_;
    bool occluded_ = false;
    uint64_t framesRun_ = 0;
};
