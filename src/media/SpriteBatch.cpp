// DirectX::SpriteBatch: the queue, the sort, the vertex writing and the shared GPU resources.
// Depends on: media/SpriteBatch.h, media/CommonStates.h, platform/Gpu.h.
#include "media/SpriteBatch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <tuple>

#include "media/CommonStates.h"

namespace DirectX {

using namespace platform;

// Resources every batch of one device shares: shaders, index buffer and default states.
struct SpriteResources {
    std::unique_ptr<Shader> shader;
    std::unique_ptr<Buffer> indices;
    std::unique_ptr<CommonStates> states;
};

// Resources every batch of one context shares: the vertex buffer and where writing goes on.
struct SpriteContext {
    std::unique_ptr<Buffer> vertices;
    size_t writePosition = 0;
    bool inImmediateMode = false;
};

namespace {

// The pools, keyed by the GPU; entries die with the last batch that uses them.
std::mutex g_poolLock;
std::map<const Gpu*, std::weak_ptr<SpriteResources>> g_resourcePool;
std::map<const Gpu*, std::weak_ptr<SpriteContext>> g_contextPool;

// Six indices per sprite: (0, 1, 2) and (1, 3, 2) over its four corners.
std::vector<uint16_t> MakeIndices() {
    std::vector<uint16_t> indices;
    indices.reserve(SpriteBatch::kMaxBatchSize * 6);
    for (size_t i = 0; i < SpriteBatch::kMaxBatchSize * 4; i += 4) {
        auto v = static_cast<uint16_t>(i);
        indices.insert(indices.end(), {v, uint16_t(v + 1), uint16_t(v + 2), uint16_t(v + 1),
                                       uint16_t(v + 3), uint16_t(v + 2)});
    }
    return indices;
}

// Raises a platform failure with what was being made.
[[noreturn]] void Fail(const std::string& what, const std::string& error) {
    throw std::runtime_error("SpriteBatch: cannot create " + what + ": " + error);
}

// The device resources of gpu, made on first use.
std::shared_ptr<SpriteResources> DemandResources(Gpu& gpu) {
    std::lock_guard<std::mutex> guard(g_poolLock);
    if (auto existing = g_resourcePool[&gpu].lock()) return existing;
    auto made = std::make_shared<SpriteResources>();
    std::string error;
    made->shader = gpu.CreateSpriteShader(&error);
    if (!made->shader) Fail("the sprite shaders", error);
    auto indices = MakeIndices();
    made->indices = gpu.CreateBuffer(BufferKind::Index16, indices.size() * sizeof(uint16_t),
                                     indices.data(), &error);
    if (!made->indices) Fail("the index buffer", error);
    made->states = std::make_unique<CommonStates>(gpu);
    g_resourcePool[&gpu] = made;
    return made;
}

// The context resources of gpu, made on first use.
std::shared_ptr<SpriteContext> DemandContext(Gpu& gpu) {
    std::lock_guard<std::mutex> guard(g_poolLock);
    if (auto existing = g_contextPool[&gpu].lock()) return existing;
    auto made = std::make_shared<SpriteContext>();
    std::string error;
    made->vertices =
        gpu.CreateBuffer(BufferKind::DynamicVertex,
                         SpriteBatch::kMaxBatchSize * 4 * sizeof(SpriteVertex), nullptr, &error);
    if (!made->vertices) Fail("the vertex buffer", error);
    g_contextPool[&gpu] = made;
    return made;
}

// Maps pixels to clip space: rows (2/w, 0, 0, 0), (0, -2/h, 0, 0), (0, 0, 1, 0), (-1, 1, 0, 1).
Matrix4 ViewportTransform(const Viewport& viewport) {
    float sx = viewport.width > 0 ? 2.0f / viewport.width : 0.0f;
    float sy = viewport.height > 0 ? 2.0f / viewport.height : 0.0f;
    return {{sx, 0, 0, 0, 0, -sy, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1}};
}

// Row-vector product a * b.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[r * 4 + k] * b.m[k * 4 + c];
            out.m[r * 4 + c] = sum;
        }
    return out;
}

}  // namespace

SpriteBatch::SpriteBatch(Gpu& gpu)
    : gpu_(gpu), resources_(DemandResources(gpu)), context_(DemandContext(gpu)) {}

SpriteBatch::~SpriteBatch() {
    // A batch destroyed in immediate mode must not block the context for others.
    if (inBeginEnd_ && sortMode_ == SpriteSortMode_Immediate) context_->inImmediateMode = false;
}

// Stores the pass's settings; immediate mode binds the pipeline at once.
void SpriteBatch::Begin(SpriteSortMode sortMode, std::shared_ptr<BlendState> blend,
                        std::shared_ptr<SamplerState> sampler,
                        std::shared_ptr<DepthStencilState> depthStencil,
                        std::shared_ptr<RasterizerState> rasterizer,
                        std::function<void()> setCustomShaders, const Matrix4& transform) {
    if (inBeginEnd_) throw std::logic_error("Cannot nest Begin calls on a single SpriteBatch");
    if (sortMode == SpriteSortMode_Immediate && context_->inImmediateMode)
        throw std::logic_error("Only one SpriteBatch at a time can use SpriteSortMode_Immediate");
    auto previous = std::make_tuple(sortMode_, blend_, sampler_, depthStencil_, rasterizer_,
                                    setCustomShaders_, transform_);
    sortMode_ = sortMode;
    blend_ = std::move(blend);
    sampler_ = std::move(sampler);
    depthStencil_ = std::move(depthStencil);
    rasterizer_ = std::move(rasterizer);
    setCustomShaders_ = std::move(setCustomShaders);
    transform_ = transform;
    if (sortMode == SpriteSortMode_Immediate) {
        try {
            PrepareForRendering();
        } catch (...) {
            std::tie(sortMode_, blend_, sampler_, depthStencil_, rasterizer_, setCustomShaders_,
                     transform_) = std::move(previous);
            throw;
        }
        context_->inImmediateMode = true;
    }
    inBeginEnd_ = true;
}

// Doubles the queue (at least 64 records), keeping the records in order.
void SpriteBatch::GrowQueue() { queue_.resize(std::max(kInitialQueueSize, queue_.size() * 2)); }

// Queues one sprite, or draws it at once in immediate mode.
void SpriteBatch::Draw(const std::shared_ptr<Texture>& texture, const Vector2& position,
                       const SourceRect* source, const Color& color, float rotation,
                       const Vector2& origin, float scale, SpriteEffects effects,
                       float layerDepth) {
    if (!texture) throw std::logic_error("Texture cannot be null");
    if (!inBeginEnd_) throw std::logic_error("Begin must be called before Draw");
    if (count_ == queue_.size()) GrowQueue();
    SpriteInfo& sprite = queue_[count_];
    if (source) {
        float w = float(source->right - source->left), h = float(source->bottom - source->top);
        sprite.source[0] = float(source->left);
        sprite.source[1] = float(source->top);
        sprite.source[2] = w;
        sprite.source[3] = h;
        sprite.destination[2] = scale * w;
        sprite.destination[3] = scale * h;
        sprite.flags = kSourceInTexels | kDestSizeInPixels;
    } else {
        sprite.source[0] = 0;
        sprite.source[1] = 0;
        sprite.source[2] = 1;
        sprite.source[3] = 1;
        sprite.destination[2] = scale;
        sprite.destination[3] = scale;
        sprite.flags = 0;
    }
    sprite.destination[0] = position.x;
    sprite.destination[1] = position.y;
    sprite.color[0] = color.r;
    sprite.color[1] = color.g;
    sprite.color[2] = color.b;
    sprite.color[3] = color.a;
    sprite.originRotationDepth[0] = origin.x;
    sprite.originRotationDepth[1] = origin.y;
    sprite.originRotationDepth[2] = rotation;
    sprite.originRotationDepth[3] = layerDepth;
    sprite.texture = texture.get();
    sprite.flags |= effects & 3u;
    if (sortMode_ == SpriteSortMode_Immediate) {
        const SpriteInfo* one = &sprite;
        RenderBatch(*texture, &one, 1);
        return;
    }
    if (count_ == 0 || queue_[count_ - 1].texture != texture.get()) held_.push_back(texture);
    ++count_;
}

// Draws the queue (or leaves immediate mode) and closes the pass.
void SpriteBatch::End() {
    if (!inBeginEnd_) throw std::logic_error("Begin must be called before End");
    if (sortMode_ == SpriteSortMode_Immediate) {
        context_->inImmediateMode = false;
    } else {
        if (context_->inImmediateMode)
            throw std::logic_error(
                "Cannot end one SpriteBatch while another is using SpriteSortMode_Immediate");
        PrepareForRendering();
        FlushBatch();
    }
    setCustomShaders_ = nullptr;
    inBeginEnd_ = false;
}

// Binds states, shaders, buffers and the transform for the sprite draws.
void SpriteBatch::PrepareForRendering() {
    Viewport viewport;
    if (!gpu_.GetViewport(&viewport)) throw std::logic_error("No viewport is set");
    CommonStates& defaults = *resources_->states;
    gpu_.SetBlendState(blend_ ? *blend_ : *defaults.AlphaBlend());
    gpu_.SetDepthStencilState(depthStencil_ ? *depthStencil_ : *defaults.DepthNone());
    gpu_.SetRasterizerState(rasterizer_ ? *rasterizer_ : *defaults.CullCounterClockwise());
    gpu_.SetSamplerState(sampler_ ? *sampler_ : *defaults.LinearClamp());
    gpu_.SetShader(*resources_->shader);
    gpu_.SetVertexBuffer(*context_->vertices);
    gpu_.SetIndexBuffer(*resources_->indices);
    gpu_.SetTransform(Multiply(transform_, ViewportTransform(viewport)).m);
    if (setCustomShaders_) setCustomShaders_();
}

// Orders sorted_ by the sort mode; equal keys keep their drawing order.
void SpriteBatch::SortSprites() {
    sorted_.resize(count_);
    for (size_t i = 0; i < count_; ++i) sorted_[i] = &queue_[i];
    switch (sortMode_) {
        case SpriteSortMode_Texture:
            std::stable_sort(sorted_.begin(), sorted_.end(), [](auto a, auto b) {
                return std::less<const Texture*>()(a->texture, b->texture);
            });
            break;
        case SpriteSortMode_BackToFront:
            std::stable_sort(sorted_.begin(), sorted_.end(), [](auto a, auto b) {
                return a->originRotationDepth[3] > b->originRotationDepth[3];
            });
            break;
        case SpriteSortMode_FrontToBack:
            std::stable_sort(sorted_.begin(), sorted_.end(), [](auto a, auto b) {
                return a->originRotationDepth[3] < b->originRotationDepth[3];
            });
            break;
        default:
            break;
    }
}

// Draws the queue as runs of one texture and empties it.
void SpriteBatch::FlushBatch() {
    if (count_ > 0) {
        SortSprites();
        size_t start = 0;
        for (size_t i = 1; i <= count_; ++i) {
            if (i == count_ || sorted_[i]->texture != sorted_[start]->texture) {
                RenderBatch(*sorted_[start]->texture, &sorted_[start], i - start);
                start = i;
            }
        }
    }
    count_ = 0;
    held_.clear();
}

// Writes and draws count sprites of one texture, wrapping the shared vertex buffer as needed.
void SpriteBatch::RenderBatch(const Texture& texture, const SpriteInfo* const* sprites,
                              size_t count) {
    gpu_.SetTexture(texture);
    const float width = float(texture.width), height = float(texture.height);
    SpriteContext& context = *context_;
    while (count > 0) {
        size_t batchSize = count;
        size_t remaining = kMaxBatchSize - context.writePosition;
        if (batchSize > remaining) {
            if (remaining < kMinBatchSize) {
                context.writePosition = 0;
                batchSize = std::min(count, kMaxBatchSize);
            } else {
                batchSize = remaining;
            }
        }
        MapMode mode = context.writePosition == 0 ? MapMode::Discard : MapMode::NoOverwrite;
        const size_t stride = 4 * sizeof(SpriteVertex);
        void* mapped =
            gpu_.Map(*context.vertices, context.writePosition * stride, batchSize * stride, mode);
        if (!mapped) throw std::runtime_error("SpriteBatch: cannot map the vertex buffer");
        auto* vertices = static_cast<SpriteVertex*>(mapped);
        for (size_t i = 0; i < batchSize; ++i)
            RenderSprite(*sprites[i], vertices + i * 4, width, height);
        gpu_.Unmap(*context.vertices);
        gpu_.DrawIndexed(uint32_t(batchSize * 6), 0, int32_t(context.writePosition * 4));
        context.writePosition += batchSize;
        sprites += batchSize;
        count -= batchSize;
    }
}

// Four corners of one sprite: placement about the origin, turn, scale, mirrored coordinates.
void SpriteBatch::RenderSprite(const SpriteInfo& sprite, SpriteVertex* vertices, float texWidth,
                               float texHeight) {
    constexpr float kEpsilon = std::numeric_limits<float>::epsilon();
    float srcX = sprite.source[0], srcY = sprite.source[1];
    float srcW = sprite.source[2], srcH = sprite.source[3];
    float invW = texWidth > 0 ? 1.0f / texWidth : 0.0f;
    float invH = texHeight > 0 ? 1.0f / texHeight : 0.0f;
    float sizeW = srcW, sizeH = srcH;  // source size in texels, for the origin
    if (sprite.flags & kSourceInTexels) {
        srcX *= invW;
        srcY *= invH;
        srcW *= invW;
        srcH *= invH;
    } else {
        sizeW *= texWidth;
        sizeH *= texHeight;
    }
    float destW = sprite.destination[2], destH = sprite.destination[3];
    if (!(sprite.flags & kDestSizeInPixels)) {
        destW *= texWidth;
        destH *= texHeight;
    }
    float originX = sprite.originRotationDepth[0] / (sizeW == 0 ? kEpsilon : sizeW);
    float originY = sprite.originRotationDepth[1] / (sizeH == 0 ? kEpsilon : sizeH);
    float rotation = sprite.originRotationDepth[2];
    float cosR = 1, sinR = 0;
    if (rotation != 0) {
        cosR = std::cos(rotation);
        sinR = std::sin(rotation);
    }
    const float depth = sprite.originRotationDepth[3];
    const uint32_t mirror = sprite.flags & 3u;
    static constexpr float kCornerX[4] = {0, 1, 0, 1};
    static constexpr float kCornerY[4] = {0, 0, 1, 1};
    for (uint32_t i = 0; i < 4; ++i) {
        float offX = (kCornerX[i] - originX) * destW;
        float offY = (kCornerY[i] - originY) * destH;
        SpriteVertex& v = vertices[i];
        v.x = sprite.destination[0] + offX * cosR - offY * sinR;
        v.y = sprite.destination[1] + offX * sinR + offY * cosR;
        v.z = depth;
        v.r = sprite.color[0];
        v.g = sprite.color[1];
        v.b = sprite.color[2];
        v.a = sprite.color[3];
        uint32_t t = i ^ mirror;
        v.u = srcX + kCornerX[t] * srcW;
        v.v = srcY + kCornerY[t] * srcH;
    }
}

}  // namespace DirectX
