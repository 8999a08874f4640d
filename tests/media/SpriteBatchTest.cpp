// Sprite batch contract on the null GPU: messages and their order, draw splitting, sorting,
// immediate mode, the vertex buffer's write position, and where the corners land.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "platform/NullGpu.h"

using namespace DirectX;
using platform::MapMode;
using platform::NullGpu;

namespace {

// A null GPU with the game's viewport and two textures.
struct SpriteBatchTest : ::testing::Test {
    NullGpu gpu;
    std::shared_ptr<platform::Texture> a, b;
    void SetUp() override {
        gpu.CreateBackBuffer(1280, 720, nullptr);
        gpu.SetViewport({0, 0, 1280, 720});
        a = gpu.CreateTexture(120, 120, platform::PixelFormat::RGBA8, nullptr, true, nullptr);
        b = gpu.CreateTexture(64, 32, platform::PixelFormat::RGBA8, nullptr, true, nullptr);
    }
    // Queues one plain sprite of texture t at depth.
    void Put(SpriteBatch& batch, const std::shared_ptr<platform::Texture>& t, float depth = 0) {
        batch.Draw(t, {0, 0}, nullptr, {}, 0, {0, 0}, 1, SpriteEffects_None, depth);
    }
};

// The message a call throws, or "" when it does not throw.
template <typename F>
std::string MessageOf(F call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST_F(SpriteBatchTest, ContractMessagesAndTheirOrder) {
    SpriteBatch batch(gpu);
    EXPECT_EQ(MessageOf([&] { batch.End(); }), "Begin must be called before End");
    EXPECT_EQ(MessageOf([&] { Put(batch, a); }), "Begin must be called before Draw");
    // A missing texture is reported before a missing Begin.
    EXPECT_EQ(MessageOf([&] { Put(batch, nullptr); }), "Texture cannot be null");
    batch.Begin();
    EXPECT_EQ(MessageOf([&] { batch.Begin(); }), "Cannot nest Begin calls on a single SpriteBatch");
    EXPECT_EQ(MessageOf([&] { Put(batch, nullptr); }), "Texture cannot be null");
    EXPECT_EQ(batch.QueuedCount(), 0u);
    // The failed nested Begin left the first pass open and usable.
    Put(batch, a);
    batch.End();
    EXPECT_EQ(gpu.draws.size(), 1u);
}

TEST_F(SpriteBatchTest, MissingViewportFailsEndAndKeepsThePass) {
    gpu.ClearState();
    SpriteBatch batch(gpu);
    batch.Begin();
    Put(batch, a);
    EXPECT_EQ(MessageOf([&] { batch.End(); }), "No viewport is set");
    EXPECT_TRUE(gpu.draws.empty());
    gpu.SetViewport({0, 0, 1280, 720});
    batch.End();
    EXPECT_EQ(gpu.draws.size(), 1u);
}

TEST_F(SpriteBatchTest, ThreeThousandSpritesOfOneTextureTakeTwoDraws) {
    SpriteBatch batch(gpu);
    batch.Begin();
    for (int i = 0; i < 3000; ++i) Put(batch, a);
    EXPECT_EQ(batch.QueueCapacity(), 4096u);  // 64 doubled six times
    batch.End();
    ASSERT_EQ(gpu.draws.size(), 2u);
    EXPECT_EQ(gpu.draws[0].indexCount, 2048u * 6);
    EXPECT_EQ(gpu.draws[1].indexCount, 952u * 6);
    EXPECT_EQ(batch.QueuedCount(), 0u);
}

TEST_F(SpriteBatchTest, AlternatingTexturesAtEqualDepthKeepDrawingOrder) {
    SpriteBatch batch(gpu);
    batch.Begin(SpriteSortMode_BackToFront);
    for (int i = 0; i < 32; ++i) Put(batch, i % 2 ? b : a);
    batch.End();
    ASSERT_EQ(gpu.draws.size(), 32u);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(gpu.draws[i].texture, (i % 2 ? b : a).get()) << i;
        EXPECT_EQ(gpu.draws[i].indexCount, 6u);
    }
}

TEST_F(SpriteBatchTest, SortModesOrderByDepthAndTexture) {
    SpriteBatch batch(gpu);
    batch.Begin(SpriteSortMode_BackToFront);
    Put(batch, a, 0.0f);
    Put(batch, b, 0.5f);
    batch.End();
    ASSERT_EQ(gpu.draws.size(), 2u);
    EXPECT_EQ(gpu.draws[0].texture, b.get());  // the far sprite first, the near one over it
    EXPECT_EQ(gpu.draws[1].texture, a.get());
    gpu.draws.clear();
    batch.Begin(SpriteSortMode_FrontToBack);
    Put(batch, b, 0.5f);
    Put(batch, a, 0.0f);
    batch.End();
    EXPECT_EQ(gpu.draws[0].texture, a.get());
    gpu.draws.clear();
    batch.Begin(SpriteSortMode_Texture);
    for (int i = 0; i < 6; ++i) Put(batch, i % 2 ? b : a);
    batch.End();
    EXPECT_EQ(gpu.draws.size(), 2u);
}

TEST_F(SpriteBatchTest, ImmediateModeRules) {
    SpriteBatch first(gpu), second(gpu);
    first.Begin(SpriteSortMode_Immediate);
    Put(first, a);
    EXPECT_EQ(gpu.draws.size(), 1u);  // drawn at once
    EXPECT_EQ(MessageOf([&] { second.Begin(SpriteSortMode_Immediate); }),
              "Only one SpriteBatch at a time can use SpriteSortMode_Immediate");
    second.Begin();
    Put(second, b);
    EXPECT_EQ(MessageOf([&] { second.End(); }),
              "Cannot end one SpriteBatch while another is using SpriteSortMode_Immediate");
    first.End();
    second.End();
    EXPECT_EQ(gpu.draws.size(), 2u);
    second.Begin(SpriteSortMode_Immediate);  // the context is free again
    second.End();
}

TEST_F(SpriteBatchTest, WritePositionWrapsAndMapsWithDiscardOrNoOverwrite) {
    SpriteBatch batch(gpu);
    auto pass = [&](int n) {
        batch.Begin();
        for (int i = 0; i < n; ++i) Put(batch, a);
        batch.End();
    };
    const size_t quad = 4 * sizeof(platform::SpriteVertex);
    pass(1900);
    pass(200);  // 148 still fit behind 1900: taken there, the rest from 0
    pass(10);
    pass(10);    // 52 + 10 + 10 = 72, plenty of room
    pass(2000);  // only 1976 left, so a split: 1976 at 72 ...
    ASSERT_GE(gpu.maps.size(), 6u);
    EXPECT_EQ(gpu.maps[0].offset, 0u);
    EXPECT_EQ(gpu.maps[0].mode, MapMode::Discard);
    EXPECT_EQ(gpu.maps[1].offset, 1900 * quad);
    EXPECT_EQ(gpu.maps[1].bytes, 148 * quad);
    EXPECT_EQ(gpu.maps[1].mode, MapMode::NoOverwrite);
    EXPECT_EQ(gpu.maps[2].offset, 0u);
    EXPECT_EQ(gpu.maps[2].bytes, 52 * quad);
    EXPECT_EQ(gpu.maps[2].mode, MapMode::Discard);
    EXPECT_EQ(gpu.maps[3].offset, 52 * quad);
    EXPECT_EQ(gpu.maps[3].mode, MapMode::NoOverwrite);
    EXPECT_EQ(gpu.maps[5].offset, 72 * quad);
    EXPECT_EQ(gpu.maps[5].bytes, 1976 * quad);
    EXPECT_EQ(gpu.maps[6].offset, 0u);  // ... and the 24 left over start again at 0
    gpu.maps.clear();
    pass(100);
    ASSERT_EQ(gpu.maps.size(), 1u);
    EXPECT_EQ(gpu.maps[0].offset, 24 * quad);
    EXPECT_EQ(gpu.maps[0].mode, MapMode::NoOverwrite);
    pass(1924);  // 24 + 100 + 1924 = 2048 exactly: the buffer is full
    pass(1);
    EXPECT_EQ(gpu.maps.back().offset, 0u);
    EXPECT_EQ(gpu.maps.back().mode, MapMode::Discard);
}

TEST_F(SpriteBatchTest, PlacementOriginScaleAndRotation) {
    SpriteBatch batch(gpu);
    SourceRect source{0, 0, 120, 120};
    auto corners = [&](float rotation, float scale) {
        gpu.draws.clear();
        batch.Begin();
        batch.Draw(a, {640, 250}, &source, {}, rotation, {60, 60}, scale);
        batch.End();
        return gpu.draws.at(0).vertices;
    };
    auto v = corners(0, 1);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 580);
    EXPECT_FLOAT_EQ(v[0].y, 190);
    EXPECT_FLOAT_EQ(v[3].x, 700);
    EXPECT_FLOAT_EQ(v[3].y, 310);
    v = corners(0, 2);
    EXPECT_FLOAT_EQ(v[0].x, 520);
    EXPECT_FLOAT_EQ(v[0].y, 130);
    EXPECT_FLOAT_EQ(v[3].x, 760);
    EXPECT_FLOAT_EQ(v[3].y, 370);
    v = corners(float(M_PI / 2), 1);  // clockwise: the top-left texel goes top-right
    EXPECT_NEAR(v[0].x, 700, 1e-3);
    EXPECT_NEAR(v[0].y, 190, 1e-3);
    EXPECT_FLOAT_EQ(v[0].u, 0);
    EXPECT_FLOAT_EQ(v[0].v, 0);
    // The view transform maps pixels to clip space with y downward.
    const float* m = gpu.draws[0].transform;
    EXPECT_FLOAT_EQ(m[0], 2.0f / 1280);
    EXPECT_FLOAT_EQ(m[5], -2.0f / 720);
    EXPECT_FLOAT_EQ(m[12], -1);
    EXPECT_FLOAT_EQ(m[13], 1);
}

TEST_F(SpriteBatchTest, TexCoordsMirroringAndZeroSizedSource) {
    SpriteBatch batch(gpu);
    SourceRect source{60, 0, 120, 60};
    batch.Begin();
    batch.Draw(a, {10, 20}, &source, {}, 0, {0, 0}, 1, SpriteEffects_FlipHorizontally);
    SourceRect empty{5, 5, 5, 15};
    batch.Draw(a, {0, 0}, &empty, {}, 0, {3, 0}, 1);
    batch.Draw(b, {100, 100}, nullptr, {}, 0, {0, 0}, 0.5f);
    batch.End();
    auto& v = gpu.draws[0].vertices;
    EXPECT_FLOAT_EQ(v[0].u, 1.0f);  // mirrored: corner 0 takes corner 1's coordinate
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[2].v, 0.5f);
    EXPECT_FLOAT_EQ(v[3].x - v[0].x, 60);
    EXPECT_FLOAT_EQ(v[4].x, v[5].x);  // width 0 stays 0 wide, whatever the origin
    EXPECT_TRUE(std::isfinite(v[4].x));
    auto& w = gpu.draws[1].vertices;  // no source: the whole texture times the scale
    EXPECT_FLOAT_EQ(w[3].x - w[0].x, 32);
    EXPECT_FLOAT_EQ(w[3].y - w[0].y, 16);
    EXPECT_FLOAT_EQ(w[3].u, 1);
}

TEST_F(SpriteBatchTest, MirroringOneAxisWindsCounterClockwiseUnderDefaultCulling) {
    SpriteBatch batch(gpu);
    SourceRect reversed{120, 0, 0, 120};  // a negative width: one axis turned over
    batch.Begin();
    batch.Draw(a, {300, 300}, nullptr, {}, 0, {0, 0}, 1);
    batch.Draw(a, {300, 300}, &reversed, {}, 0, {0, 0}, 1);
    batch.Draw(a, {300, 300}, nullptr, {}, 0, {0, 0}, -1);  // both axes: a half turn
    batch.End();
    auto& v = gpu.draws[0].vertices;
    // Screen-space (y down) signed area of triangle (0, 1, 2): positive means clockwise.
    auto winding = [&](int q) {
        auto& p0 = v[q * 4];
        auto& p1 = v[q * 4 + 1];
        auto& p2 = v[q * 4 + 2];
        return (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
    };
    EXPECT_GT(winding(0), 0);
    EXPECT_LT(winding(1), 0);
    EXPECT_GT(winding(2), 0);
    const auto& raster = gpu.draws[0].rasterizer->desc;
    EXPECT_EQ(raster.cull, platform::CullMode::Back);
    EXPECT_FALSE(raster.frontCounterClockwise);
}

TEST_F(SpriteBatchTest, DefaultsAndGivenStates) {
    CommonStates states(gpu);
    SpriteBatch batch(gpu);
    batch.Begin(SpriteSortMode_BackToFront, states.NonPremultiplied());
    Put(batch, a);
    batch.End();
    EXPECT_EQ(gpu.draws[0].blend, states.NonPremultiplied().get());
    EXPECT_EQ(gpu.draws[0].blend->desc.src, platform::BlendFactor::SrcAlpha);
    batch.Begin();
    Put(batch, a);
    batch.End();
    EXPECT_EQ(gpu.draws[1].blend->desc.src, platform::BlendFactor::One);  // AlphaBlend
    EXPECT_TRUE(gpu.draws[1].sampler->desc.linear);
    EXPECT_TRUE(gpu.draws[1].sampler->desc.clamp);
    EXPECT_EQ(states.AlphaBlend(), states.AlphaBlend());  // made once, then reused
}
