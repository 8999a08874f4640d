// SpriteRenderer: the frame's sprite pass: the sprite batch with the render states, opened
// back-to-front with non-premultiplied blending, and DrawSprite with the game's parameters.
// Depends on: media/SpriteBatch, media/CommonStates, services/TextureStore.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace DirectX {
class SpriteBatch;
class CommonStates;
}  // namespace DirectX
namespace platform {
struct Texture;
}

struct Float2 {
    float x = 0;
    float y = 0;
    bool operator==(const Float2&) const = default;
};

// Source rectangle in texels: left, top, right, bottom.
struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const IntRect&) const = default;
};

// One DrawSprite call as given, kept for tests that watch what a scene draws.
struct SpriteCall {
    Float2 position;
    bool hasSource = false;
    IntRect source;
    int alpha = 0;
    float depth = 0;
    Float2 origin;
    int red = 0, green = 0, blue = 0;
    float rotation = 0;
    float scale = 0;
    std::wstring name;
    bool operator==(const SpriteCall&) const = default;
};

struct FrameRecord;

class SpriteRenderer {
  public:
    // The single renderer pair, created empty on first use.
    static SpriteRenderer& Get();

    std::unique_ptr<DirectX::SpriteBatch> batch;
    std::unique_ptr<DirectX::CommonStates> states;
    // When set, every DrawSprite call is also handed here (scene tests).
    std::function<void(const SpriteCall&)> observer;
    // When set, the pass is written down here instead of drawn (Begin and End then do nothing);
    // Draw draws what was written down.
    FrameRecord* record = nullptr;

    // Opens the sprite pass (back-to-front, non-premultiplied).
    void Begin();
    // Sorts and draws the sprites of the pass.
    void End();
    // Queues one sprite; tint integers are divided by 255 and not clamped.
    void DrawSprite(const Float2& position, const IntRect* source, int alpha, float depth,
                    const Float2& origin, int red, int green, int blue, float rotation, float scale,
                    std::wstring name);
    // Draws a written-down pass: Begin, each sprite with its recorded texture, End.
    void Draw(const FrameRecord& frame);

  private:
    // Queues one sprite in the batch.
    void Submit(const SpriteCall& call, const std::shared_ptr<platform::Texture>& texture);
};

// Creates the batch and the render states over GraphicsDevice's GPU (start-up); false with
// the reason in error.
bool CreateSpriteRenderer(std::string* error);
// Releases the batch and the render states (shutdown).
void DestroySpriteRenderer();
