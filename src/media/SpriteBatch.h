// DirectX::SpriteBatch: collects textured, tinted, rotated and scaled quads between Begin and
// End, sorts them and draws each run of one texture with one indexed draw (at most 2048
// sprites a draw) through a shared dynamic vertex buffer.
// Depends on: platform/Gpu.h, media/CommonStates.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Gpu.h"

namespace DirectX {

enum SpriteSortMode {
    SpriteSortMode_Deferred = 0,
    SpriteSortMode_Immediate = 1,
    SpriteSortMode_Texture = 2,
    SpriteSortMode_BackToFront = 3,
    SpriteSortMode_FrontToBack = 4,
};

enum SpriteEffects : uint32_t {
    SpriteEffects_None = 0,
    SpriteEffects_FlipHorizontally = 1,
    SpriteEffects_FlipVertically = 2,
    SpriteEffects_FlipBoth = 3,
};

struct Vector2 {
    float x = 0;
    float y = 0;
};

// Tint, four floats (red, green, blue, alpha); not clamped.
struct Color {
    float r = 1, g = 1, b = 1, a = 1;
};

// A source rectangle in texels: left, top, right, bottom.
struct SourceRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A 4x4 matrix applied to row vectors (translation in the last row).
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    static Matrix4 Identity() { return {}; }
};

struct SpriteResources;
struct SpriteContext;

class SpriteBatch {
  public:
    static constexpr size_t kMaxBatchSize = 2048;
    static constexpr size_t kMinBatchSize = 128;
    static constexpr size_t kInitialQueueSize = 64;

    // Creates or shares the GPU's sprite resources; throws std::runtime_error on failure.
    explicit SpriteBatch(platform::Gpu& gpu);
    ~SpriteBatch();
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    // Opens a batch; null states take the defaults (AlphaBlend, LinearClamp, DepthNone,
    // CullCounterClockwise).
    void Begin(SpriteSortMode sortMode = SpriteSortMode_Deferred,
               std::shared_ptr<platform::BlendState> blend = nullptr,
               std::shared_ptr<platform::SamplerState> sampler = nullptr,
               std::shared_ptr<platform::DepthStencilState> depthStencil = nullptr,
               std::shared_ptr<platform::RasterizerState> rasterizer = nullptr,
               std::function<void()> setCustomShaders = nullptr,
               const Matrix4& transform = Matrix4::Identity());
    // Queues (or, in immediate mode, draws) one sprite.
    void Draw(const std::shared_ptr<platform::Texture>& texture, const Vector2& position,
              const SourceRect* source, const Color& color, float rotation, const Vector2& origin,
              float scale, SpriteEffects effects = SpriteEffects_None, float layerDepth = 0);
    // Sorts and draws everything queued since Begin.
    void End();

    // Sprites queued and not yet drawn, and the queue's current capacity.
    size_t QueuedCount() const { return count_; }
    size_t QueueCapacity() const { return queue_.size(); }

  private:
    // One queued sprite.
    struct SpriteInfo {
        float source[4];
        float destination[4];
        float color[4];
        float originRotationDepth[4];
        const platform::Texture* texture;
        uint32_t flags;
    };
    static constexpr uint32_t kSourceInTexels = 4;
    static constexpr uint32_t kDestSizeInPixels = 8;

    void PrepareForRendering();
    void FlushBatch();
    void SortSprites();
    void RenderBatch(const platform::Texture& texture, const SpriteInfo* const* sprites,
                     size_t count);
    static void RenderSprite(const SpriteInfo& sprite, platform::SpriteVertex* vertices,
                             float texWidth, float texHeight);
    void GrowQueue();

    platform::Gpu& gpu_;
    std::shared_ptr<SpriteResources> resources_;
    std::shared_ptr<SpriteContext> context_;
    std::vector<SpriteInfo> queue_;
    size_t count_ = 0;
    std::vector<const SpriteInfo*> sorted_;
    // One reference per run of consecutive sprites with the same texture.
    std::vector<std::shared_ptr<platform::Texture>> held_;
    bool inBeginEnd_ = false;
    SpriteSortMode sortMode_ = SpriteSortMode_Deferred;
    std::shared_ptr<platform::BlendState> blend_;
    std::shared_ptr<platform::SamplerState> sampler_;
    std::shared_ptr<platform::DepthStencilState> depthStencil_;
    std::shared_ptr<platform::RasterizerState> rasterizer_;
    std::function<void()> setCustomShaders_;
    Matrix4 transform_;
};

}  // namespace DirectX
