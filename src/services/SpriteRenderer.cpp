// SpriteRenderer: the game's sprite pass over the batch; without a batch only the observer
// sees the sprites.
// Depends on: media/SpriteBatch.h, media/CommonStates.h, services/TextureStore.h,
// services/GraphicsDevice.h.
#include "services/SpriteRenderer.h"

#include <exception>

#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "services/FrameRecord.h"
#include "services/GraphicsDevice.h"
#include "services/TextureStore.h"

SpriteRenderer& SpriteRenderer::Get() {
    static SpriteRenderer renderer;
    return renderer;
}

// Opens the pass: back to front, straight alpha, default sampler and rasterizer.
void SpriteRenderer::Begin() {
    if (record) return;
    if (batch && states)
        batch->Begin(DirectX::SpriteSortMode_BackToFront, states->NonPremultiplied());
}

void SpriteRenderer::End() {
    if (record) return;
    if (batch) batch->End();
}

void SpriteRenderer::DrawSprite(const Float2& position, const IntRect* source, int alpha,
                                float depth, const Float2& origin, int red, int green, int blue,
                                float rotation, float scale, std::wstring name) {
    const SpriteCall call{position,
                          source != nullptr,
                          source ? *source : IntRect{},
                          alpha,
                          depth,
                          origin,
                          red,
                          green,
                          blue,
                          rotation,
                          scale,
                          std::move(name)};
    if (observer) observer(call);
    if (record) {
        record->sprites.push_back({call, TextureStore::Get().Find(call.name)});
        return;
    }
    if (batch) Submit(call, TextureStore::Get().Find(call.name));
}

void SpriteRenderer::Draw(const FrameRecord& frame) {
    if (!batch || !states) return;
    batch->Begin(DirectX::SpriteSortMode_BackToFront, states->NonPremultiplied());
    for (const RecordedSprite& sprite : frame.sprites) Submit(sprite.call, sprite.texture);
    batch->End();
}

void SpriteRenderer::Submit(const SpriteCall& call,
                            const std::shared_ptr<platform::Texture>& texture) {
    DirectX::SourceRect rect;
    if (call.hasSource)
        rect = {call.source.left, call.source.top, call.source.right, call.source.bottom};
    DirectX::Color tint{float(call.red) / 255.0f, float(call.green) / 255.0f,
                        float(call.blue) / 255.0f, float(call.alpha) / 255.0f};
    batch->Draw(texture, {call.position.x, call.position.y}, call.hasSource ? &rect : nullptr, tint,
                call.rotation, {call.origin.x, call.origin.y}, call.scale,
                DirectX::SpriteEffects_None, call.depth);
}

bool CreateSpriteRenderer(std::string* error) {
    auto& gpu = GraphicsDevice::Get().gpu;
    if (!gpu) {
        if (error) *error = "cannot create the sprite batch: no graphics device";
        return false;
    }
    try {
        SpriteRenderer& renderer = SpriteRenderer::Get();
        renderer.batch = std::make_unique<DirectX::SpriteBatch>(*gpu);
        renderer.states = std::make_unique<DirectX::CommonStates>(*gpu);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}

void DestroySpriteRenderer() {
    SpriteRenderer& renderer = SpriteRenderer::Get();
    renderer.batch.reset();
    renderer.states.reset();
}
