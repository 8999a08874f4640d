// FrameDrawing: the passes drawn at once, or written down and drawn when seen and new.
#include "shell/FrameDrawing.h"

#include <utility>

#include "services/GraphicsDevice.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"

void FrameDrawing::SkipUnseenFrames(std::function<bool(uint64_t)> seen) {
    skipping_ = true;
    seen_ = std::move(seen);
    mustPresent_ = true;  // the first frame is always shown
}

void FrameDrawing::Clear() {
    ++frame_;
    if (!skipping_) {
        GraphicsDevice::Get().Clear();
        return;
    }
    record_.Clear();
}

void FrameDrawing::BeginSprites() {
    if (skipping_) SpriteRenderer::Get().record = &record_;
    SpriteRenderer::Get().Begin();
}

void FrameDrawing::EndSprites() {
    SpriteRenderer::Get().End();
    SpriteRenderer::Get().record = nullptr;
}

void FrameDrawing::BeginTexts() {
    if (skipping_)
        TextRenderer::Get().record = &record_;
    else
        GraphicsDevice::Get().BeginDraw();
}

void FrameDrawing::EndTexts() {
    if (skipping_)
        TextRenderer::Get().record = nullptr;
    else
        GraphicsDevice::Get().EndDraw();
}

bool FrameDrawing::Present() {
    GraphicsDevice& device = GraphicsDevice::Get();
    if (!skipping_) {
        ++drawn_;
        return device.Present();
    }
    const bool seen = !seen_ || seen_(frame_);
    const bool fresh = !shownValid_ || !(record_ == shown_);
    if (seen && fresh) {
        device.Clear();
        SpriteRenderer::Get().Draw(record_);
        TextRenderer::Get().Draw(record_);
        std::swap(shown_, record_);
        shownValid_ = true;
        ++drawn_;
    }
    // A headless run has no one to present to; its screenshots read the back buffer.
    if (seen_ || !(fresh || mustPresent_)) return device.PresentTest();
    mustPresent_ = false;
    return device.Present();
}

bool FrameDrawing::PresentTest() {
    const bool occluded = GraphicsDevice::Get().PresentTest();
    if (!occluded) mustPresent_ = true;
    return occluded;
}
