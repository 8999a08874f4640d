// NullGpu: buffers live in plain memory so mapped writes can be inspected; draws are recorded.
// Depends on: platform/NullGpu.h.
#include "platform/NullGpu.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// A buffer kept in host memory.
struct NullBuffer : Buffer {
    std::vector<uint8_t> data;
};

}  // namespace

// Remembers the size that read-backs report.
bool NullGpu::CreateBackBuffer(int width, int height, std::string*) {
    width_ = width;
    height_ = height;
    return true;
}

// A texture record of the right size; the pixels are not kept.
std::shared_ptr<Texture> NullGpu::CreateTexture(int width, int height, PixelFormat, const void*,
                                                bool, std::string* error) {
    if (width <= 0 || height <= 0 || width > maxTextureSize || height > maxTextureSize) {
        if (error) *error = "texture size out of range";
        return nullptr;
    }
    auto texture = std::make_shared<Texture>();
    texture->width = width;
    texture->height = height;
    return texture;
}

// A host-memory buffer, zeroed or filled from initial.
std::unique_ptr<Buffer> NullGpu::CreateBuffer(BufferKind, size_t bytes, const void* initial,
                                              std::string*) {
    auto buffer = std::make_unique<NullBuffer>();
    buffer->bytes = bytes;
    buffer->data.assign(bytes, 0);
    if (initial) std::memcpy(buffer->data.data(), initial, bytes);
    return buffer;
}

// Records the mapping and hands out the bytes themselves.
void* NullGpu::Map(Buffer& buffer, size_t offset, size_t bytes, MapMode mode) {
    if (offset + bytes > buffer.bytes) return nullptr;
    maps.push_back({offset, bytes, mode});
    return static_cast<NullBuffer&>(buffer).data.data() + offset;
}

// Shaders and states are plain records here.
std::unique_ptr<Shader> NullGpu::CreateSpriteShader(std::string*) {
    return std::make_unique<Shader>();
}
std::shared_ptr<BlendState> NullGpu::CreateBlendState(const BlendDesc& desc) {
    auto state = std::make_shared<BlendState>();
    state->desc = desc;
    return state;
}
std::shared_ptr<DepthStencilState> NullGpu::CreateDepthStencilState(const DepthStencilDesc& desc) {
    auto state = std::make_shared<DepthStencilState>();
    state->desc = desc;
    return state;
}
std::shared_ptr<RasterizerState> NullGpu::CreateRasterizerState(const RasterizerDesc& desc) {
    auto state = std::make_shared<RasterizerState>();
    state->desc = desc;
    return state;
}
std::shared_ptr<SamplerState> NullGpu::CreateSamplerState(const SamplerDesc& desc) {
    auto state = std::make_shared<SamplerState>();
    state->desc = desc;
    return state;
}

// Keeps the transform for the next recorded draws.
void NullGpu::SetTransform(const float matrix[16]) { std::copy(matrix, matrix + 16, transform_); }

// Records the draw; with keepVertices, the quads it covers are copied out of the buffer.
void NullGpu::DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex) {
    DrawCall call;
    call.texture = texture_;
    call.blend = blend_;
    call.sampler = sampler_;
    call.rasterizer = rasterizer_;
    call.indexCount = indexCount;
    call.startIndex = startIndex;
    call.baseVertex = baseVertex;
    std::copy(transform_, transform_ + 16, call.transform);
    if (keepVertices && vertexBuffer_) {
        const auto& data = static_cast<const NullBuffer*>(vertexBuffer_)->data;
        const auto* first =
            reinterpret_cast<const SpriteVertex*>(data.data()) + baseVertex + startIndex / 6 * 4;
        size_t count = indexCount / 6 * 4;
        call.vertices.assign(first, first + count);
    }
    draws.push_back(std::move(call));
}

void NullGpu::SetViewport(const Viewport& viewport) {
    viewport_ = viewport;
    hasViewport_ = true;
}

bool NullGpu::GetViewport(Viewport* viewport) const {
    if (hasViewport_ && viewport) *viewport = viewport_;
    return hasViewport_;
}

// Forgets every binding, the viewport included.
void NullGpu::ClearState() {
    hasViewport_ = false;
    blend_ = nullptr;
    sampler_ = nullptr;
    rasterizer_ = nullptr;
    vertexBuffer_ = nullptr;
    texture_ = nullptr;
}

bool NullGpu::Present() {
    ++presents;
    return occluded;
}

// A black, opaque frame of the back buffer's size.
bool NullGpu::ReadBackBuffer(Image* out, std::string* error) {
    if (width_ <= 0 || height_ <= 0) {
        if (error) *error = "no back buffer to read";
        return false;
    }
    out->width = width_;
    out->height = height_;
    out->rgba.assign(static_cast<size_t>(width_) * height_ * 4, 0);
    for (size_t i = 3; i < out->rgba.size(); i += 4) out->rgba[i] = 255;
    return true;
}

}  // namespace platform
