// Text layout on Pango: line feeds, wrapping at the box's width, centring, and raster output.
#include <gtest/gtest.h>

#include "platform/TextEngine.h"

namespace {

struct TextEngineTest : ::testing::Test {
    std::unique_ptr<platform::TextEngine> engine = platform::CreatePangoTextEngine();
    void SetUp() override { ASSERT_TRUE(engine->SetFont("メイリオ,IPAexGothic", 14, nullptr)); }
};

// The horizontal centre of a line.
float Centre(const platform::TextLine& line) { return line.x + line.width / 2; }

}  // namespace

TEST_F(TextEngineTest, TwoLineFeedsLeaveOneEmptyCentredLine) {
    auto info = engine->Measure("First sentence.\n\nSecond one.", 600);
    ASSERT_EQ(info.lines.size(), 3u);
    EXPECT_EQ(info.lines[1].width, 0);
    EXPECT_GT(info.lines[1].height, 0);
    EXPECT_NEAR(Centre(info.lines[0]), 300, 1);
    EXPECT_NEAR(Centre(info.lines[2]), 300, 1);
    EXPECT_EQ(info.lines[0].y, 0);  // top aligned
    EXPECT_GT(info.lines[2].y, info.lines[1].y);
}

TEST_F(TextEngineTest, WrapsAtWordsWithinTheWidthAndCentresEachLine) {
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog and keeps running far away";
    auto info = engine->Measure(sentence, 300);
    ASSERT_GT(info.lines.size(), 1u);
    for (const auto& line : info.lines) {
        EXPECT_LE(line.width, 300);
        EXPECT_NEAR(Centre(line), 150, 1);
    }
    // A word longer than the box is broken between characters rather than overflowing.
    auto longWord = engine->Measure(std::string(80, 'W'), 300);
    EXPECT_GT(longWord.lines.size(), 1u);
    for (const auto& line : longWord.lines) EXPECT_LE(line.width, 300);
}

TEST_F(TextEngineTest, JapaneseRendersAndEmptyTextRendersNothing) {
    auto bitmap = engine->Render("\xE6\x9B\xB2\xE3\x82\x92\xE9\x81\xB8\xE6\x8A\x9E", 200);
    EXPECT_GT(bitmap.width, 30);
    EXPECT_LE(bitmap.height, 20);
    EXPECT_EQ(bitmap.bgra.size(), size_t(bitmap.width) * bitmap.height * 4);
    int lit = 0;
    for (size_t i = 3; i < bitmap.bgra.size(); i += 4) lit += bitmap.bgra[i] > 128;
    EXPECT_GT(lit, 40);
    EXPECT_EQ(engine->Render("", 200).width, 0);
    EXPECT_EQ(engine->Render("   ", 200).width, 0);
}

TEST_F(TextEngineTest, NoWidthCentresAboutTheBoxStart) {
    auto info = engine->Measure("Hello", 0);
    ASSERT_EQ(info.lines.size(), 1u);
    EXPECT_NEAR(Centre(info.lines[0]), 0, 1);
}
