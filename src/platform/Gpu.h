// Gpu: the drawing operations the game's media layer needs of a GPU, in its own terms.
// Implementations: OpenGL 3.3 core (platform/gl) and a null back end for tests and benchmarks.
// Depends on: nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A texture living on the GPU; back ends derive from it.
struct Texture {
    virtual ~Texture() = default;
    int width = 0;
    int height = 0;
};

// Pixel layouts a texture can be uploaded from (8 bits a channel, rows top first).
enum class PixelFormat { RGBA8, BGRA8 };

// A GPU buffer: the dynamic vertex buffer or the static 16-bit index buffer.
struct Buffer {
    virtual ~Buffer() = default;
    size_t bytes = 0;
};
enum class BufferKind { DynamicVertex, Index16 };
// Discard throws away the old contents; NoOverwrite promises not to touch bytes still in use.
enum class MapMode { Discard, NoOverwrite };

// The sprite shader pair with its vertex layout (position 3, colour 4, texture coordinate 2).
struct Shader {
    virtual ~Shader() = default;
};
struct SpriteVertex {
    float x, y, z;
    float r, g, b, a;
    float u, v;
};

enum class BlendFactor { Zero, One, SrcAlpha, InvSrcAlpha };
struct BlendDesc {
    bool enable = false;
    BlendFactor src = BlendFactor::One, dst = BlendFactor::Zero;
    BlendFactor srcAlpha = BlendFactor::One, dstAlpha = BlendFactor::Zero;
};
struct DepthStencilDesc {
    bool depthTest = false;
    bool depthWrite = false;
};
enum class CullMode { None, Front, Back };
struct RasterizerDesc {
    CullMode cull = CullMode::Back;
    bool frontCounterClockwise = false;
    bool depthClip = true;
    bool multisample = true;
};
struct SamplerDesc {
    bool linear = true;
    bool clamp = true;
    int maxAnisotropy = 16;
};

// Fixed state objects; back ends may derive to hold native handles.
struct BlendState {
    virtual ~BlendState() = default;
    BlendDesc desc;
};
struct DepthStencilState {
    virtual ~DepthStencilState() = default;
    DepthStencilDesc desc;
};
struct RasterizerState {
    virtual ~RasterizerState() = default;
    RasterizerDesc desc;
};
struct SamplerState {
    virtual ~SamplerState() = default;
    SamplerDesc desc;
};

struct Viewport {
    float x = 0, y = 0, width = 0, height = 0;
};

// An 8-bit RGBA image, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

class Gpu {
  public:
    virtual ~Gpu() = default;

    // Creates the off-screen back buffer the frame is drawn into; false with error on failure.
    virtual bool CreateBackBuffer(int width, int height, std::string* error) = 0;
    // Largest texture side the device accepts.
    virtual int MaxTextureSize() const = 0;
    // Uploads pixels (w x h, rows top first); mipmaps builds the full chain. Null on failure.
    virtual std::shared_ptr<Texture> CreateTexture(int width, int height, PixelFormat format,
                                                   const void* pixels, bool mipmaps,
                                                   std::string* error) = 0;
    // A buffer of bytes; initial may be null for a dynamic buffer. Null on failure.
    virtual std::unique_ptr<Buffer> CreateBuffer(BufferKind kind, size_t bytes, const void* initial,
                                                 std::string* error) = 0;
    // Maps [offset, offset + bytes) for writing; null on failure. Unmap before drawing.
    virtual void* Map(Buffer& buffer, size_t offset, size_t bytes, MapMode mode) = 0;
    virtual void Unmap(Buffer& buffer) = 0;
    // The sprite shader pair; null with error on failure.
    virtual std::unique_ptr<Shader> CreateSpriteShader(std::string* error) = 0;

    virtual std::shared_ptr<BlendState> CreateBlendState(const BlendDesc& desc) = 0;
    virtual std::shared_ptr<DepthStencilState> CreateDepthStencilState(
        const DepthStencilDesc& desc) = 0;
    virtual std::shared_ptr<RasterizerState> CreateRasterizerState(const RasterizerDesc& desc) = 0;
    virtual std::shared_ptr<SamplerState> CreateSamplerState(const SamplerDesc& desc) = 0;

    // Pipeline bindings used by the next draws.
    virtual void SetBlendState(const BlendState& state) = 0;
    virtual void SetDepthStencilState(const DepthStencilState& state) = 0;
    virtual void SetRasterizerState(const RasterizerState& state) = 0;
    virtual void SetSamplerState(const SamplerState& state) = 0;
    virtual void SetShader(const Shader& shader) = 0;
    // Column-vector transform applied to vertex positions, 16 floats, row-major rows.
    virtual void SetTransform(const float matrix[16]) = 0;
    virtual void SetVertexBuffer(const Buffer& buffer) = 0;
    virtual void SetIndexBuffer(const Buffer& buffer) = 0;
    virtual void SetTexture(const Texture& texture) = 0;
    // Draws indexCount 16-bit indices from the index buffer, added to baseVertex, as triangles.
    virtual void DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex) = 0;

    // The one viewport; GetViewport is false while none is set.
    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual bool GetViewport(Viewport* viewport) const = 0;
    // Unbinds everything, the viewport included.
    virtual void ClearState() = 0;

    // Fills the back buffer with one colour.
    virtual void Clear(float r, float g, float b, float a) = 0;
    // Shows the back buffer; true when the window cannot be seen.
    virtual bool Present() = 0;
    // True while the window cannot be seen, without showing anything.
    virtual bool IsOccluded() = 0;
    // The back buffer as drawn so far (rows top first); false with error on failure.
    virtual bool ReadBackBuffer(Image* out, std::string* error) = 0;
};

// The OpenGL back end over a host window that asked for a GL 3.3 core context; null with error.
std::unique_ptr<Gpu> CreateGlGpu(void* window, std::string* error);

}  // namespace platform
