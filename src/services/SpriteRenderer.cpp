// SpriteRenderer: the game's sprite pass over the batch; without a batch only the observer
// sees the sprites.
// Depends on: media/SpriteBatch.h, media/CommonStates.h, services/TextureStore.h,
// services/GraphicsDevice.h.
#include "services/SpriteRenderer.h"

#include <exception>

#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "services/GraphicsDevice.h"
#include "services/TextureStore.h"

SpriteRenderer& SpriteRenderer::Get() {
    static SpriteRenderer renderer;
    return renderer;
}

// Opens the pass: back to front, straight alpha, default sampler and rasterizer.
void SpriteRenderer::Begin() {
    if (batch && states)
        batch->Begin(DirectX::SpriteSortMode_BackToFront, states->NonPremultiplied());
}

void SpriteRenderer::End() {
    if (batch) batch->End();
}

void SpriteRenderer::DrawSprite(const Float2& position, const IntRect* source, int alpha,
                                float depth, const Float2& origin, int red, int green, int blue,
                                float rotation, float scale, std::wstring name) {
    if (observer) {
        observer(SpriteCall{position, source != nullptr, source ? *source : IntRect{}, alpha, depth,
                            origin, red, green, blue, rotation, scale, name});
    }
    if (!batch) return;
    DirectX::SourceRect rect;
    if (source) rect = {source->left, source->top, source->right, source->bottom};
    DirectX::Color tint{float(red) / 255.0f, float(green) / 255.0f, float(blue) / 255.0f,
                        float(alpha) / 255.0f};
    batch->Draw(TextureStore::Get().Find(name), {position.x, position.y}, source ? &rect : nullptr,
                tint, rotation, {origin.x, origin.y}, scale, DirectX::SpriteEffects_None, depth);
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
