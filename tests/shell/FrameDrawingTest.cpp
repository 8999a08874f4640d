// Frame drawing: a frame that shows what the back buffer holds is neither drawn nor presented,
// a changed one is; a window seen again gets its picture; a headless run draws only the frames
// its screenshots need; measurements keep drawing every frame.
#include <functional>

#include "../settings/SceneHarness.h"
#include "platform/NullGpu.h"
#include "services/GraphicsDevice.h"
#include "services/TextureStore.h"
#include "shell/FrameDrawing.h"

namespace {

class FrameDrawingTest : public scenetest::SceneHarness {
  protected:
    platform::NullGpu* gpu = nullptr;
    FrameDrawing drawing;

    void SetUp() override {
        SceneHarness::SetUp();
        auto owned = std::make_unique<platform::NullGpu>();
        gpu = owned.get();
        GraphicsDevice::Get().gpu = std::move(owned);
        ASSERT_TRUE(GraphicsDevice::Get().CreateDeviceResources());
        ASSERT_TRUE(CreateSpriteRenderer(nullptr));
        WriteTexture("a.png");
        ASSERT_TRUE(TextureStore::Get().Load(L"a", L"a.png"));
    }
    void TearDown() override {
        DestroySpriteRenderer();
        TextureStore::Get().Clear();
        GraphicsDevice::Get().DestroyDevice();
        SceneHarness::TearDown();
    }
    // One frame's steps with a sprite at x and a text; returns Present's answer.
    bool Frame(float x, const std::wstring& text = L"t") {
        drawing.Clear();
        drawing.BeginSprites();
        SpriteRenderer::Get().DrawSprite({x, 0}, nullptr, 255, 0, {0, 0}, 255, 255, 255, 0, 1,
                                         L"a");
        drawing.EndSprites();
        drawing.BeginTexts();
        TextRenderer::Get().DrawString(text);
        drawing.EndTexts();
        return drawing.Present();
    }
};

}  // namespace

TEST_F(FrameDrawingTest, AFrameThatShowsNothingNewIsNeitherDrawnNorPresented) {
    drawing.SkipUnseenFrames();
    Frame(10);
    EXPECT_EQ(gpu->draws.size(), 1u);
    EXPECT_EQ(gpu->presents, 1);
    Frame(10);
    Frame(10);
    EXPECT_EQ(gpu->draws.size(), 1u);
    EXPECT_EQ(gpu->clears, 1);
    EXPECT_EQ(gpu->presents, 1);
    Frame(11);  // a sprite moved
    EXPECT_EQ(gpu->draws.size(), 2u);
    EXPECT_EQ(gpu->presents, 2);
    Frame(11, L"u");  // a text changed
    EXPECT_EQ(drawing.framesDrawn(), 3u);
    EXPECT_EQ(gpu->presents, 3);
    EXPECT_EQ(sprites.size(), 5u) << "the scenes' draw calls ran every frame";

    gpu->occluded = true;
    EXPECT_TRUE(Frame(11, L"u")) << "a window that cannot be seen is still reported";
    EXPECT_TRUE(drawing.PresentTest());
    gpu->occluded = false;
    EXPECT_FALSE(drawing.PresentTest());
    Frame(11, L"u");
    EXPECT_EQ(gpu->presents, 4) << "seen again: the kept picture is presented at once";
    EXPECT_EQ(drawing.framesDrawn(), 3u);

    // The same name standing for another texture is another picture.
    TextureStore::Get().Remove(L"a");
    ASSERT_TRUE(TextureStore::Get().Load(L"a", L"a.png"));
    Frame(11, L"u");
    EXPECT_EQ(drawing.framesDrawn(), 4u);
}

TEST_F(FrameDrawingTest, AHeadlessRunDrawsOnlyTheFramesItsScreenshotsNeed) {
    drawing.SkipUnseenFrames([](uint64_t frame) { return frame == 3 || frame == 4; });
    for (int frame = 1; frame <= 6; ++frame) Frame(float(frame % 4 == 0 ? 3 : frame));
    EXPECT_EQ(drawing.framesDrawn(), 1u) << "frame 4 shows what frame 3 drew";
    EXPECT_EQ(gpu->draws.size(), 1u);
    EXPECT_EQ(gpu->presents, 0) << "no one to present to";
}

TEST_F(FrameDrawingTest, MeasurementsDrawEveryFrame) {
    for (int frame = 1; frame <= 3; ++frame) Frame(10);
    EXPECT_EQ(gpu->draws.size(), 3u);
    EXPECT_EQ(gpu->presents, 3);
}
