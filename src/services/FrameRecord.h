// FrameRecord: what one frame draws, written down in call order instead of drawn: each sprite
// with the texture its name stood for, and each string with its rectangle and colour. Two
// frames with equal records put the same pixels in the back buffer, so a frame that records
// what the back buffer already shows need not be drawn again.
// Depends on: services/SpriteRenderer.h (SpriteCall), services/TextRenderer.h (TextCall).
#pragma once

#include <memory>
#include <vector>

#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"

namespace platform {
struct Texture;
}

struct RecordedSprite {
    SpriteCall call;
    // Held, so a texture dropped and another made at its address never looks the same.
    std::shared_ptr<platform::Texture> texture;

    bool operator==(const RecordedSprite&) const = default;
};

struct FrameRecord {
    std::vector<RecordedSprite> sprites;
    std::vector<TextCall> texts;

    bool operator==(const FrameRecord&) const = default;
    void Clear() {
        sprites.clear();
        texts.clear();
    }
};
