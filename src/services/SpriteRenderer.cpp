// SpriteRenderer: placeholder until the sprite batch lands; only the observer sees sprites.
#include "services/SpriteRenderer.h"

namespace DirectX {
class SpriteBatch {};
class CommonStates {};
}  // namespace DirectX

SpriteRenderer& SpriteRenderer::Get() {
    static SpriteRenderer renderer;
    return renderer;
}
void SpriteRenderer::Begin() {}
void SpriteRenderer::End() {}
void SpriteRenderer::DrawSprite(const Float2& position, const IntRect* source, int alpha,
                                float depth, const Float2& origin, int red, int green, int blue,
                                float rotation, float scale, std::wstring name) {
    if (!observer) return;
    SpriteCall call{position, source != nullptr, source ? *source : IntRect{}, alpha, depth,
                    origin, red, green, blue, rotation, scale, std::move(name)};
    observer(call);
}
