// NullGpu: a GPU back end that draws nothing and records what it was asked to do, so the
// sprite batch and the services can be tested and measured without a display.
// Depends on: platform/Gpu.h.
#pragma once

#include <vector>

#include "platform/Gpu.h"

namespace platform {

class NullGpu : public Gpu {
  public:
    // One DrawIndexed call as the pipeline stood when it was made.
    struct DrawCall {
        const Texture* texture = nullptr;
        const BlendState* blend = nullptr;
        const SamplerState* sampler = nullptr;
        const RasterizerState* rasterizer = nullptr;
        uint32_t indexCount = 0;
        uint32_t startIndex = 0;
        int32_t baseVertex = 0;
        float transform[16] = {};
        std::vector<SpriteVertex> vertices;  // the quads drawn, when keepVertices is set
    };
    // One Map call.
    struct MapCall {
        size_t offset = 0;
        size_t bytes = 0;
        MapMode mode = MapMode::Discard;
    };

    std::vector<DrawCall> draws;
    std::vector<MapCall> maps;
    // Copies the vertices of every draw (tests); off for benchmarks.
    bool keepVertices = true;
    int maxTextureSize = 16384;
    int clears = 0;
    int presents = 0;
    bool occluded = false;

    bool CreateBackBuffer(int width, int height, std::string* error) override;
    int MaxTextureSize() const override { return maxTextureSize; }
    std::shared_ptr<Texture> CreateTexture(int width, int height, PixelFormat format,
                                           const void* pixels, bool mipmaps,
                                           std::string* error) override;
    std::unique_ptr<Buffer> CreateBuffer(BufferKind kind, size_t bytes, const void* initial,
                                         std::string* error) override;
    void* Map(Buffer& buffer, size_t offset, size_t bytes, MapMode mode) override;
    void Unmap(Buffer&) override {}
    std::unique_ptr<Shader> CreateSpriteShader(std::string* error) override;
    std::shared_ptr<BlendState> CreateBlendState(const BlendDesc& desc) override;
    std::shared_ptr<DepthStencilState> CreateDepthStencilState(
        const DepthStencilDesc& desc) override;
    std::shared_ptr<RasterizerState> CreateRasterizerState(const RasterizerDesc& desc) override;
    std::shared_ptr<SamplerState> CreateSamplerState(const SamplerDesc& desc) override;
    void SetBlendState(const BlendState& state) override { blend_ = &state; }
    void SetDepthStencilState(const DepthStencilState&) override {}
    void SetRasterizerState(const RasterizerState& state) override { rasterizer_ = &state; }
    void SetSamplerState(const SamplerState& state) override { sampler_ = &state; }
    void SetShader(const Shader&) override {}
    void SetTransform(const float matrix[16]) override;
    void SetVertexBuffer(const Buffer& buffer) override { vertexBuffer_ = &buffer; }
    void SetIndexBuffer(const Buffer&) override {}
    void SetTexture(const Texture& texture) override { texture_ = &texture; }
    void DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex) override;
    void SetViewport(const Viewport& viewport) override;
    bool GetViewport(Viewport* viewport) const override;
    void ClearState() override;
    void Clear(float, float, float, float) override { ++clears; }
    bool Present() override;
    bool IsOccluded() override { return occluded; }
    bool ReadBackBuffer(Image* out, std::string* error) override;

  private:
    const BlendState* blend_ = nullptr;
    const SamplerState* sampler_ = nullptr;
    const RasterizerState* rasterizer_ = nullptr;
    const Buffer* vertexBuffer_ = nullptr;
    const Texture* texture_ = nullptr;
    float transform_[16] = {};
    bool hasViewport_ = false;
    Viewport viewport_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace platform
