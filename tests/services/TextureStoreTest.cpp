// Texture store and sprite renderer: Load never replaces, missing files store nothing, the
// image loader fits large images, and DrawSprite hands the batch the game's tint.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "media/ImageLoader.h"
#include "media/SpriteBatch.h"
#include "platform/ImageCodec.h"
#include "platform/NullGpu.h"
#include "services/GraphicsDevice.h"
#include "services/SpriteRenderer.h"
#include "services/TextureStore.h"

namespace fs = std::filesystem;

namespace {

// An opaque image of one colour.
platform::Image Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    platform::Image image{w, h, {}};
    for (int i = 0; i < w * h; ++i) image.rgba.insert(image.rgba.end(), {r, g, b, a});
    return image;
}

// Runs each test in a fresh folder holding Data/Texture/.
struct StoreTest : ::testing::Test {
    fs::path previous, folder;
    void SetUp() override {
        previous = fs::current_path();
        folder = fs::temp_directory_path() / ("lyrandel-store-" + std::to_string(getpid()));
        fs::create_directories(folder / "Data/Texture");
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    void Write(const std::string& name, const platform::Image& image) {
        ASSERT_TRUE(platform::WriteOpaquePng("Data/Texture/" + name, image, nullptr));
    }
};

}  // namespace

TEST_F(StoreTest, LoadKeepsTheFirstTextureAndMissingFilesStoreNothing) {
    Write("small.png", Solid(4, 2, 255, 0, 0));
    Write("big.png", Solid(8, 8, 0, 255, 0));
    TextureStore store;
    ASSERT_TRUE(store.Load(L"note", L"small.png"));
    EXPECT_TRUE(store.Load(L"note", L"big.png"));
    EXPECT_TRUE(store.Load(L"note", L"no-such-file.png"));  // the name is known: not looked at
    ASSERT_NE(store.Find(L"note"), nullptr);
    EXPECT_EQ(store.Find(L"note")->width, 4);
    EXPECT_EQ(store.Find(L"note")->height, 2);
    EXPECT_FALSE(store.Load(L"gone", L"no-such-file.png"));
    EXPECT_EQ(store.Find(L"gone"), nullptr);
    EXPECT_NE(GraphicsDevice::Get().lastError.find("no-such-file.png"), std::string::npos);
}

TEST_F(StoreTest, NonPngFileIsRefused) {
    std::FILE* f = std::fopen("Data/Texture/fake.png", "wb");
    std::fputs("not an image at all", f);
    std::fclose(f);
    TextureStore store;
    EXPECT_FALSE(store.Load(L"fake", L"fake.png"));
    EXPECT_EQ(store.Find(L"fake"), nullptr);
}

TEST(ImageLoaderTest, LargeImagesShrinkKeepingAspectWithAlphaWeightedColour) {
    platform::Image wide{40, 20, {}};
    for (int i = 0; i < 40 * 20; ++i) {
        bool clear = i % 2;  // every other texel transparent, and red in colour
        wide.rgba.insert(wide.rgba.end(), {uint8_t(clear ? 255 : 0), 0, uint8_t(clear ? 0 : 255),
                                           uint8_t(clear ? 0 : 255)});
    }
    platform::Image fitted = DirectX::FitImage(wide, 16);
    EXPECT_EQ(fitted.width, 16);
    EXPECT_EQ(fitted.height, 8);
    EXPECT_EQ(fitted.rgba[0], 0);  // transparent red does not bleed into the blue
    EXPECT_EQ(fitted.rgba[2], 255);
    EXPECT_NEAR(fitted.rgba[3], 128, 30);
    platform::Image tall = DirectX::FitImage(Solid(3, 30000, 1, 2, 3), 16384);
    EXPECT_EQ(tall.height, 16384);
    EXPECT_EQ(tall.width, 1);
    platform::NullGpu gpu;
    gpu.maxTextureSize = 32768;
    EXPECT_EQ(DirectX::MaxTextureSide(&gpu), 16384);
    gpu.maxTextureSize = 8192;
    EXPECT_EQ(DirectX::MaxTextureSide(&gpu), 8192);
}

TEST_F(StoreTest, SpriteRendererDrawsBackToFrontWithTheTintDividedBy255) {
    Write("a.png", Solid(120, 120, 9, 9, 9));
    auto& device = GraphicsDevice::Get();
    auto owned = std::make_unique<platform::NullGpu>();
    platform::NullGpu& gpu = *owned;
    device.gpu = std::move(owned);
    ASSERT_TRUE(device.CreateDeviceResources());
    ASSERT_TRUE(CreateSpriteRenderer(nullptr));
    ASSERT_TRUE(TextureStore::Get().Load(L"renderer-test", L"a.png"));
    auto& renderer = SpriteRenderer::Get();
    int observed = 0;
    renderer.observer = [&](const SpriteCall&) { ++observed; };
    IntRect source{0, 0, 120, 120};
    renderer.Begin();
    renderer.DrawSprite({640, 250}, &source, 128, 0, {60, 60}, 255, 0, 300, 0, 1, L"renderer-test");
    renderer.DrawSprite({0, 0}, nullptr, 255, 0.5f, {0, 0}, 0, 0, 0, 0, 1, L"renderer-test");
    renderer.End();
    EXPECT_EQ(observed, 2);
    ASSERT_EQ(gpu.draws.size(), 1u);
    const auto& v = gpu.draws[0].vertices;
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[0].z, 0.5f);  // the deeper sprite comes first
    EXPECT_FLOAT_EQ(v[4].x, 580);
    EXPECT_FLOAT_EQ(v[4].r, 1.0f);
    EXPECT_FLOAT_EQ(v[4].b, 300.0f / 255.0f);  // not clamped
    EXPECT_FLOAT_EQ(v[4].a, 128.0f / 255.0f);
    EXPECT_EQ(gpu.draws[0].blend->desc.src, platform::BlendFactor::SrcAlpha);
    // An unknown name reaches the batch as no texture.
    renderer.Begin();
    EXPECT_THROW(renderer.DrawSprite({0, 0}, nullptr, 255, 0, {0, 0}, 0, 0, 0, 0, 1, L"??"),
                 std::logic_error);
    renderer.End();
    renderer.observer = nullptr;
    DestroySpriteRenderer();
    TextureStore::Get().Clear();
    device.DestroyDevice();
}

TEST(SpriteRendererTest, WithoutADeviceOnlyTheObserverSeesSprites) {
    auto& renderer = SpriteRenderer::Get();
    std::wstring seen;
    renderer.observer = [&](const SpriteCall& call) { seen = call.name; };
    renderer.Begin();
    renderer.DrawSprite({1, 2}, nullptr, 255, 0, {0, 0}, 1, 2, 3, 0, 1, L"anything");
    renderer.End();
    renderer.observer = nullptr;
    EXPECT_EQ(seen, L"anything");
    EXPECT_FALSE(CreateSpriteRenderer(nullptr));
}
