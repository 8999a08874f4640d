// DirectX::CommonStates: lazily created state objects over one GPU.
// Depends on: media/CommonStates.h.
#include "media/CommonStates.h"

namespace DirectX {

using namespace platform;

namespace {

// Returns slot, creating it with make on the first call.
template <typename T, typename Make>
std::shared_ptr<T> Demand(std::mutex& lock, std::shared_ptr<T>& slot, Make make) {
    std::lock_guard<std::mutex> guard(lock);
    if (!slot) slot = make();
    return slot;
}

}  // namespace

CommonStates::CommonStates(Gpu& gpu) : gpu_(gpu) {}

BlendDesc CommonStates::AlphaBlendDesc() {
    return {true, BlendFactor::One, BlendFactor::InvSrcAlpha, BlendFactor::One,
            BlendFactor::InvSrcAlpha};
}
BlendDesc CommonStates::NonPremultipliedDesc() {
    return {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, BlendFactor::SrcAlpha,
            BlendFactor::InvSrcAlpha};
}
DepthStencilDesc CommonStates::DepthNoneDesc() { return {false, false}; }
RasterizerDesc CommonStates::CullCounterClockwiseDesc() {
    return {CullMode::Back, false, true, true};
}
SamplerDesc CommonStates::LinearClampDesc() { return {true, true, 16}; }

std::shared_ptr<BlendState> CommonStates::AlphaBlend() {
    return Demand(lock_, alphaBlend_, [&] { return gpu_.CreateBlendState(AlphaBlendDesc()); });
}
std::shared_ptr<BlendState> CommonStates::NonPremultiplied() {
    return Demand(lock_, nonPremultiplied_,
                  [&] { return gpu_.CreateBlendState(NonPremultipliedDesc()); });
}
std::shared_ptr<DepthStencilState> CommonStates::DepthNone() {
    return Demand(lock_, depthNone_, [&] { return gpu_.CreateDepthStencilState(DepthNoneDesc()); });
}
std::shared_ptr<RasterizerState> CommonStates::CullCounterClockwise() {
    return Demand(lock_, cullCounterClockwise_,
                  [&] { return gpu_.CreateRasterizerState(CullCounterClockwiseDesc()); });
}
std::shared_ptr<SamplerState> CommonStates::LinearClamp() {
    return Demand(lock_, linearClamp_, [&] { return gpu_.CreateSamplerState(LinearClampDesc()); });
}

}  // namespace DirectX
