// Text renderer over the null GPU: brush colour carries over, layouts are cached, strings
// outside the pass or without a device are only observed.
#include <gtest/gtest.h>

#include "platform/NullGpu.h"
#include "services/GraphicsDevice.h"
#include "services/TextRenderer.h"

namespace {

// A device with a null GPU and an initialised renderer of the test's own.
struct TextRendererTest : ::testing::Test {
    platform::NullGpu* gpu = nullptr;
    TextRenderer text;
    void SetUp() override {
        auto owned = std::make_unique<platform::NullGpu>();
        gpu = owned.get();
        GraphicsDevice::Get().gpu = std::move(owned);
        ASSERT_TRUE(GraphicsDevice::Get().CreateDeviceResources());
        ASSERT_TRUE(text.Initialize(L"メイリオ", L"", 14.0f));
        text.layoutRect = {100, 100, 400, 300};
    }
    void TearDown() override {
        text.ReleaseDeviceResources();
        GraphicsDevice::Get().gpu.reset();
    }
};

}  // namespace

TEST_F(TextRendererTest, ColourCarriesOverToTheNextString) {
    text.BeginPass();
    text.brush.SetColor({1, 1, 1, 1});
    text.DrawString(L"Start");
    text.DrawString(L"Next");
    text.brush.SetColor({1, 0, 0, 0.5f});
    text.DrawString(L"Faded");
    text.EndPass();
    ASSERT_EQ(gpu->draws.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        const auto& v = gpu->draws[i].vertices[0];
        EXPECT_FLOAT_EQ(v.r + v.g + v.b + v.a, 4) << i;
    }
    const auto& faded = gpu->draws[2].vertices[0];  // premultiplied: colour times alpha
    EXPECT_FLOAT_EQ(faded.r, 0.5f);
    EXPECT_FLOAT_EQ(faded.a, 0.5f);
    EXPECT_EQ(gpu->draws[0].blend->desc.src, platform::BlendFactor::One);
    EXPECT_GE(gpu->draws[0].vertices[0].y, 100);  // top aligned, no earlier than the top
    EXPECT_LT(gpu->draws[0].vertices[0].y, 110);
}

TEST_F(TextRendererTest, UnchangedStringsCostNoNewLayout) {
    for (int frame = 0; frame < 5; ++frame) {
        text.BeginPass();
        text.DrawString(L"Same every frame");
        text.DrawString(L"Frame " + std::to_wstring(frame));
        text.EndPass();
    }
    EXPECT_EQ(text.LayoutsMade(), 6u);
    for (int frame = 0; frame < 200; ++frame) {
        text.BeginPass();
        text.DrawString(L"Same every frame");
        text.EndPass();
    }
    EXPECT_EQ(text.LayoutsMade(), 6u);
    EXPECT_EQ(text.CachedLayouts(), 1u);  // the changing strings were dropped
    // The same text in a rectangle of another width is another layout.
    text.layoutRect.right += 50;
    text.BeginPass();
    text.DrawString(L"Same every frame");
    text.EndPass();
    EXPECT_EQ(text.LayoutsMade(), 7u);
}

TEST_F(TextRendererTest, OutsideThePassStringsAreOnlyObserved) {
    std::vector<TextCall> seen;
    text.observer = [&](const TextCall& call) { seen.push_back(call); };
    text.brush.SetColor({0, 1, 0, 1});
    text.DrawString(L"Observed");
    EXPECT_TRUE(gpu->draws.empty());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Observed");
    EXPECT_EQ(seen[0].rect.right, 400);
    EXPECT_EQ(seen[0].color.g, 1);
    EXPECT_TRUE(text.fontPath.empty());
    text.RemoveFont();  // no font was added: nothing to remove, and no harm
}

TEST_F(TextRendererTest, PrivateFontIsAddedWithItsFullPathAndRemovedAtShutdown) {
    const std::wstring font = L"/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf";
    TextRenderer other;
    ASSERT_TRUE(other.Initialize(L"IPAexGothic", font, 14.0f));
    EXPECT_EQ(other.fontPath, font);
    other.RemoveFont();
    EXPECT_TRUE(other.fontPath.empty());
    // A font file that cannot be added is not fatal: the family falls back.
    TextRenderer missing;
    EXPECT_TRUE(missing.Initialize(L"メイリオ", L"no-such-font.ttf", 14.0f));
    EXPECT_TRUE(missing.fontPath.empty());
    TextRenderer zero;
    EXPECT_FALSE(zero.Initialize(L"メイリオ", L"", 0.0f));
    EXPECT_NE(GraphicsDevice::Get().lastError.find("font"), std::string::npos);
}

TEST(GraphicsDeviceTest, FailuresSayWhatFailed) {
    GraphicsDevice device;
    EXPECT_FALSE(device.CreateDevice());
    EXPECT_NE(device.lastError.find("no window"), std::string::npos);
    EXPECT_FALSE(device.CreateDeviceResources());
    EXPECT_FALSE(device.SaveScreenshot("x.png"));
    EXPECT_NE(device.lastError.find("x.png"), std::string::npos);
    device.Clear();  // without a device these do nothing
    EXPECT_FALSE(device.Present());
    EXPECT_FALSE(device.PresentTest());
}
