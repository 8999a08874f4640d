// DirectX::CommonStates: the fixed render-state objects the sprite batch and the game use,
// each created on its first request and reused after.
// Depends on: platform/Gpu.h.
#pragma once

#include <memory>
#include <mutex>

#include "platform/Gpu.h"

namespace DirectX {

class CommonStates {
  public:
    explicit CommonStates(platform::Gpu& gpu);

    // Premultiplied blending: one, inverse source alpha.
    std::shared_ptr<platform::BlendState> AlphaBlend();
    // Straight-alpha blending: source alpha, inverse source alpha.
    std::shared_ptr<platform::BlendState> NonPremultiplied();
    // No depth test and no depth writes.
    std::shared_ptr<platform::DepthStencilState> DepthNone();
    // Counter-clockwise (back) faces culled, clockwise faces front.
    std::shared_ptr<platform::RasterizerState> CullCounterClockwise();
    // Linear filtering with clamped addressing.
    std::shared_ptr<platform::SamplerState> LinearClamp();

    // The descriptions behind the states above.
    static platform::BlendDesc AlphaBlendDesc();
    static platform::BlendDesc NonPremultipliedDesc();
    static platform::DepthStencilDesc DepthNoneDesc();
    static platform::RasterizerDesc CullCounterClockwiseDesc();
    static platform::SamplerDesc LinearClampDesc();

  private:
    platform::Gpu& gpu_;
    std::mutex lock_;
    std::shared_ptr<platform::BlendState> alphaBlend_;
    std::shared_ptr<platform::BlendState> nonPremultiplied_;
    std::shared_ptr<platform::DepthStencilState> depthNone_;
    std::shared_ptr<platform::RasterizerState> cullCounterClockwise_;
    std::shared_ptr<platform::SamplerState> linearClamp_;
};

}  // namespace DirectX
