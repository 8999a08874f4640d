// GlGpu: the GPU interface on an OpenGL 3.3 core context of an SDL window. Frames are drawn
// into an off-screen 1280x720 colour buffer that Present copies to the window, so the frame
// stays readable for screenshots after it was shown.
// Depends on: platform/Gpu.h, platform/gl/GlObjects.h, SDL2, libepoxy.
#pragma once

#include <SDL.h>

#include "platform/Gpu.h"
#include "platform/gl/GlObjects.h"

namespace platform::gl {

class GlGpu : public Gpu {
  public:
    // Takes over a current context made for window.
    GlGpu(SDL_Window* window, SDL_GLContext context);
    ~GlGpu() override;

    bool CreateBackBuffer(int width, int height, std::string* error) override;
    int MaxTextureSize() const override;
    std::shared_ptr<Texture> CreateTexture(int width, int height, PixelFormat format,
                                           const void* pixels, bool mipmaps,
                                           std::string* error) override;
    std::unique_ptr<Buffer> CreateBuffer(BufferKind kind, size_t bytes, const void* initial,
                                         std::string* error) override;
    void* Map(Buffer& buffer, size_t offset, size_t bytes, MapMode mode) override;
    void Unmap(Buffer& buffer) override;
    std::unique_ptr<Shader> CreateSpriteShader(std::string* error) override;
    std::shared_ptr<BlendState> CreateBlendState(const BlendDesc& desc) override;
    std::shared_ptr<DepthStencilState> CreateDepthStencilState(
        const DepthStencilDesc& desc) override;
    std::shared_ptr<RasterizerState> CreateRasterizerState(const RasterizerDesc& desc) override;
    std::shared_ptr<SamplerState> CreateSamplerState(const SamplerDesc& desc) override;
    void SetBlendState(const BlendState& state) override;
    void SetDepthStencilState(const DepthStencilState& state) override;
    void SetRasterizerState(const RasterizerState& state) override;
    void SetSamplerState(const SamplerState& state) override;
    void SetShader(const Shader& shader) override;
    void SetTransform(const float matrix[16]) override;
    void SetVertexBuffer(const Buffer& buffer) override;
    void SetIndexBuffer(const Buffer& buffer) override;
    void SetTexture(const Texture& texture) override;
    void DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex) override;
    void SetViewport(const Viewport& viewport) override;
    bool GetViewport(Viewport* viewport) const override;
    void ClearState() override;
    void Clear(float r, float g, float b, float a) override;
    bool Present() override;
    bool IsOccluded() override;
    bool ReadBackBuffer(Image* out, std::string* error) override;

  private:
    SDL_Window* window_;
    SDL_GLContext context_;
    std::shared_ptr<SDL_GLContext> alive_;
    GLuint vertexArray_ = 0;
    GLuint framebuffer_ = 0;
    GLuint colorBuffer_ = 0;
    int width_ = 0;
    int height_ = 0;
    const GlShader* shader_ = nullptr;
    float transform_[16] = {};
    bool transformDirty_ = true;
    bool hasViewport_ = false;
    Viewport viewport_;
    bool offscreenDriver_ = false;
};

}  // namespace platform::gl
