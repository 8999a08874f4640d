// FrameSteps: the service calls that surround the scene in one frame (audio, keys, clear,
// sprite pass, text pass, presentation). The game's version calls the process-wide services,
// its drawing through FrameDrawing (which may skip frames nobody sees or that show nothing
// new); tests substitute a recorder to check the order.
// Depends on: gameplay/Autoplay.h (the autoplay's steps), shell/FrameDrawing.h.
#pragma once

#include "shell/FrameDrawing.h"

class Autoplay;

class FrameSteps {
  public:
    virtual ~FrameSteps() = default;
    // Sound manager's per-frame update.
    virtual void UpdateAudio() = 0;
    // Copies the keyboard and advances the edge tracker.
    virtual void UpdateKeys() = 0;
    // Clears the back buffer to opaque black.
    virtual void Clear() = 0;
    // Opens and closes the sprite pass.
    virtual void BeginSprites() = 0;
    virtual void EndSprites() = 0;
    // Opens and closes the text pass.
    virtual void BeginTexts() = 0;
    virtual void EndTexts() = 0;
    // Presents; true when the window is occluded.
    virtual bool Present() = 0;
    // Test presentation while occluded; true when still occluded.
    virtual bool PresentTest() = 0;
};

// The steps over the game's process-wide services.
class GameFrameSteps : public FrameSteps {
  public:
    void UpdateAudio() override;
    void UpdateKeys() override;
    void Clear() override;
    void BeginSprites() override;
    void EndSprites() override;
    void BeginTexts() override;
    void EndTexts() override;
    bool Present() override;
    bool PresentTest() override;

    // Which frames are drawn and presented (every one unless told otherwise).
    FrameDrawing drawing;
};

// The game's steps with the autoplay's keys handed to the keyboard before it is read, so the
// autoplay counts exactly the updates that the scenes see.
class AutoplayFrameSteps : public GameFrameSteps {
  public:
    explicit AutoplayFrameSteps(Autoplay& autoplay) : autoplay_(autoplay) {}
    void UpdateKeys() override;

  private:
    Autoplay& autoplay_;
};
