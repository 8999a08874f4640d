// FrameDrawing: how a frame's passes reach the screen. Drawn as they come (the default, which
// measurements of the drawing use), or written down first (FrameRecord) and drawn only when
// the frame can be seen and shows something new: a frame equal to the one the back buffer
// holds is neither drawn nor presented, and in a headless run a frame is drawn only when a
// screenshot is taken after it. The scenes' draw operations run in every frame either way, so
// what they count and prepare while drawing goes on as before.
// Depends on: services (GraphicsDevice, SpriteRenderer, TextRenderer, FrameRecord).
#pragma once

#include <cstdint>
#include <functional>

#include "services/FrameRecord.h"

class FrameDrawing {
  public:
    // Skips frames that show nothing new; with seen, also frames for which it says no (given
    // the frame's number, from 1).
    void SkipUnseenFrames(std::function<bool(uint64_t frame)> seen = nullptr);

    // The frame's steps, in the frame loop's order.
    void Clear();
    void BeginSprites();
    void EndSprites();
    void BeginTexts();
    void EndTexts();
    // Presents (drawing the record first when it must); true when the window is occluded.
    bool Present();
    // Test presentation while occluded; true when still occluded. When the window can be seen
    // again, the next frame is presented whatever it shows.
    bool PresentTest();

    // Frames drawn into the back buffer so far.
    uint64_t framesDrawn() const { return drawn_; }

  private:
    bool skipping_ = false;
    std::function<bool(uint64_t)> seen_;
    uint64_t frame_ = 0;
    FrameRecord record_;
    // What the back buffer holds, valid once a frame was drawn.
    FrameRecord shown_;
    bool shownValid_ = false;
    bool mustPresent_ = false;
    uint64_t drawn_ = 0;
};
