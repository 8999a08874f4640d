// The GL back end's pixels: placement, turning, depth order, alpha, culling, text over
// sprites, screenshots and two golden frames.
#include <SDL.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "HeadlessDevice.h"
#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "platform/gl/Letterbox.h"

namespace fs = std::filesystem;
using gltest::HeadlessDevice;

namespace {

// A w x h texture: red in its top-left quadrant, blue elsewhere, opaque.
std::vector<uint8_t> Quadrants(int w, int h) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool red = x < w / 2 && y < h / 2;
            rgba.insert(rgba.end(), {uint8_t(red ? 255 : 0), 0, uint8_t(red ? 0 : 255), 255});
        }
    return rgba;
}

struct GlPixels : HeadlessDevice {
    std::shared_ptr<platform::Texture> quads, white;
    void SetUp() override {
        HeadlessDevice::SetUp();
        auto q = Quadrants(120, 120);
        quads = device.gpu->CreateTexture(120, 120, platform::PixelFormat::RGBA8, q.data(), true,
                                          nullptr);
        std::vector<uint8_t> w(8 * 8 * 4, 255);
        white =
            device.gpu->CreateTexture(8, 8, platform::PixelFormat::RGBA8, w.data(), true, nullptr);
        ASSERT_TRUE(quads && white);
    }
    void TearDown() override {
        quads.reset();
        white.reset();
        HeadlessDevice::TearDown();
    }
    // Draws one sprite through the game's pass settings.
    void Draw(const std::shared_ptr<platform::Texture>& t, DirectX::Vector2 at, DirectX::Color tint,
              float rotation = 0, float scale = 1, float depth = 0,
              const DirectX::SourceRect* source = nullptr, DirectX::Vector2 origin = {0, 0}) {
        SpriteRenderer::Get().batch->Draw(t, at, source, tint, rotation, origin, scale,
                                          DirectX::SpriteEffects_None, depth);
    }
};

}  // namespace

TEST_F(GlPixels, PlacementScaleAndClockwiseTurn) {
    DirectX::SourceRect all{0, 0, 120, 120};
    SpriteRenderer::Get().Begin();
    Draw(quads, {640, 250}, {}, 0, 1, 0, &all, {60, 60});
    Draw(quads, {200, 250}, {}, 0, 2, 0, &all, {60, 60});
    Draw(quads, {1000, 250}, {}, float(M_PI / 2), 1, 0, &all, {60, 60});
    SpriteRenderer::Get().End();
    auto f = Frame();
    EXPECT_EQ(Pixel(f, 580, 190), 0xFF0000u);  // covers (580, 190) to (700, 310)
    EXPECT_EQ(Pixel(f, 699, 309), 0x0000FFu);
    EXPECT_EQ(Pixel(f, 579, 190), 0u);
    EXPECT_EQ(Pixel(f, 580, 189), 0u);
    EXPECT_EQ(Pixel(f, 700, 309), 0u);
    EXPECT_EQ(Pixel(f, 699, 310), 0u);
    EXPECT_EQ(Pixel(f, 80, 130), 0xFF0000u);  // scale 2: (80, 130) to (320, 370)
    EXPECT_EQ(Pixel(f, 319, 369), 0x0000FFu);
    EXPECT_EQ(Pixel(f, 320, 369), 0u);
    EXPECT_EQ(Pixel(f, 1055, 195), 0xFF0000u);  // turned: the red quadrant is top-right
    EXPECT_EQ(Pixel(f, 945, 195), 0x0000FFu);
}

TEST_F(GlPixels, SmallerDepthCoversAndAlphaMixes) {
    SpriteRenderer::Get().Begin();
    Draw(white, {0, 0}, {1, 1, 1, 1}, 0, 40, 0.9f);  // a white floor under everything
    Draw(white, {10, 10}, {1, 0, 0, 1}, 0, 4, 0.0f);
    Draw(white, {10, 10}, {0, 1, 0, 1}, 0, 4, 0.5f);  // drawn later, but deeper
    Draw(white, {60, 10}, {1, 0, 0, 1}, 0, 4);
    Draw(white, {110, 10}, {1, 0, 0, 0}, 0, 4);
    Draw(white, {160, 10}, {1, 0, 0, 128 / 255.0f}, 0, 4);
    SpriteRenderer::Get().End();
    auto f = Frame();
    EXPECT_EQ(Pixel(f, 20, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(f, 70, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(f, 120, 20), 0xFFFFFFu);  // alpha 0: nothing shows
    uint32_t half = Pixel(f, 170, 20);
    EXPECT_EQ(half >> 16, 0xFFu);
    EXPECT_NEAR(int((half >> 8) & 0xFF), 127, 2);
    EXPECT_NEAR(int(half & 0xFF), 127, 2);
}

TEST_F(GlPixels, TurnedOverSpritesAreCulledAndHalfTurnsAreNot) {
    DirectX::SourceRect reversed{120, 0, 0, 120};
    SpriteRenderer::Get().Begin();
    Draw(quads, {100, 100}, {}, 0, 1, 0, &reversed);
    Draw(quads, {500, 500}, {}, 0, -1);
    SpriteRenderer::Get().End();
    auto f = Frame();
    EXPECT_EQ(Pixel(f, 40, 160), 0u);
    EXPECT_EQ(Pixel(f, 440, 440), 0xFF0000u);  // the half turn puts red bottom-right
}

TEST_F(GlPixels, ScreenshotIsOpaqueAndTopRowFirst) {
    SpriteRenderer::Get().Begin();
    Draw(white, {0, 0}, {0, 1, 0, 0.5f}, 0, 1);
    SpriteRenderer::Get().End();
    device.Present();  // the frame stays readable after it was shown
    const fs::path file =
        fs::temp_directory_path() / ("lyrandel-shot-" + std::to_string(getpid()) + ".png");
    ASSERT_TRUE(device.SaveScreenshot(file.string())) << device.lastError;
    platform::Image shot;
    ASSERT_TRUE(platform::DecodePng(file.string(), &shot, nullptr));
    fs::remove(file);
    ASSERT_EQ(shot.width, 1280);
    ASSERT_EQ(shot.height, 720);
    EXPECT_NEAR(shot.rgba[1], 128, 2);  // top-left pixel: half green over black
    EXPECT_EQ(shot.rgba[3], 255);
    EXPECT_EQ(shot.rgba[(8 * 1280 + 8) * 4 + 1], 0);
    EXPECT_FALSE(device.SaveScreenshot("/no/such/folder/shot.png"));
    EXPECT_NE(device.lastError.find("/no/such/folder/shot.png"), std::string::npos);
}

TEST_F(GlPixels, GoldenSprites) {
    DirectX::SourceRect half{0, 0, 60, 60}, all{0, 0, 120, 120};
    SpriteRenderer::Get().Begin();
    for (int i = 0; i < 8; ++i)
        Draw(quads, {160.0f + i * 130, 200}, {1, 1, 1, 1 - i / 8.0f}, float(i * M_PI / 8),
             0.5f + i * 0.1f, 0, &all, {60, 60});
    Draw(quads, {640, 500}, {1, 1, 0.5f, 1}, 0, 3, 0.5f, &half, {30, 30});
    Draw(white, {600, 460}, {0, 1, 0, 0.5f}, 0.3f, 12, 0.2f);
    SpriteRenderer::Get().End();
    gltest::ExpectGolden(Frame(), "sprites.png");
}

TEST_F(GlPixels, GoldenTextOverSprites) {
    TextRenderer& text = TextRenderer::Get();
    ASSERT_TRUE(text.Initialize(L"メイリオ", L"", 14.0f));
    SpriteRenderer::Get().Begin();
    Draw(white, {440, 80}, {0.2f, 0.3f, 0.6f, 1}, 0, 50, 0.5f);
    SpriteRenderer::Get().End();
    device.BeginDraw();
    text.brush.SetColor({1, 1, 1, 1});
    text.layoutRect = {440, 100, 740, 400};
    text.DrawString(
        L"楽曲を選択してください\n\nThe quick brown fox jumps over the lazy dog and runs far away");
    text.layoutRect = {0, 500, 1280, 720};
    text.DrawString(L"Score 0012345");  // still white
    text.brush.SetColor({1, 0.8f, 0, 0.5f});
    text.layoutRect = {0, 540, 1280, 720};
    text.DrawString(L"半透明の文字 / Translucent");
    device.EndDraw();
    gltest::ExpectGolden(Frame(), "text.png");
}

TEST(Letterbox, LargestCentredFitKeepsTheAspect) {
    using platform::gl::Letterbox;
    auto same = [](platform::gl::PixelRect r, int x, int y, int w, int h) {
        return r.x == x && r.y == y && r.width == w && r.height == h;
    };
    EXPECT_TRUE(same(Letterbox(1280, 720, 1280, 720), 0, 0, 1280, 720));
    EXPECT_TRUE(same(Letterbox(1280, 720, 3840, 2160), 0, 0, 3840, 2160));
    EXPECT_TRUE(same(Letterbox(1280, 720, 1920, 1200), 0, 60, 1920, 1080));   // bars above, below
    EXPECT_TRUE(same(Letterbox(1280, 720, 2560, 1080), 320, 0, 1920, 1080));  // at the sides
    EXPECT_TRUE(same(Letterbox(1280, 720, 1001, 1000), 0, 218, 1001, 563));
    EXPECT_TRUE(same(Letterbox(1280, 720, 0, 720), 0, 0, 0, 0));  // a window with no pixels yet
}

// However the window is sized, the frame drawn and the screenshot stay 1280 by 720.
TEST_F(GlPixels, ResizedOrFullscreenWindowKeepsThePicture) {
    SDL_SetWindowSize(window.handle(), 1920, 1200);
    std::string error;
    window.SetFullscreen(true, error);
    SpriteRenderer::Get().Begin();
    Draw(white, {0, 0}, {1, 0, 0, 1}, 0, 1);
    SpriteRenderer::Get().End();
    device.Present();
    const auto f = Frame();
    EXPECT_EQ(f.width, 1280);
    EXPECT_EQ(f.height, 720);
    EXPECT_EQ(Pixel(f, 7, 7), 0xFF0000u);
    EXPECT_EQ(Pixel(f, 8, 8), 0u);
    window.SetFullscreen(false, error);
}
