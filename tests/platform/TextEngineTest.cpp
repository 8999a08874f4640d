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

namespace {

// Rows of a rendered bitmap, in box pixels, where each run of inked rows ends (one past its
// last row): with capitals that have no descender, these are the baselines of the lines.
std::vector<int> InkRunEnds(const platform::TextBitmap& bitmap) {
    std::vector<int> ends;
    bool inRun = false;
    for (int row = 0; row <= bitmap.height; ++row) {
        bool inked = false;
        for (int x = 0; row < bitmap.height && x < bitmap.width && !inked; ++x)
            inked = bitmap.bgra[(size_t(row) * bitmap.width + x) * 4 + 3] > 128;
        if (inRun && !inked) ends.push_back(bitmap.y + row);
        inRun = inked;
    }
    return ends;
}

}  // namespace

// The screens were placed for lines 21 pixels apart with the first baseline 15 below the top;
// fonts of quite different metrics must keep both, empty lines included.
TEST(TextEngineLines, FixedPitchAndFirstBaselineWhateverTheFont) {
    for (const char* family : {"メイリオ,IPAexGothic", "DejaVu Serif"}) {
        SCOPED_TRACE(family);
        auto engine = platform::CreatePangoTextEngine();
        ASSERT_TRUE(engine->SetFont(family, 14, nullptr));
        engine->SetLineMetrics(21, 15);
        const auto ends = InkRunEnds(engine->Render("HEH\nEHE\n\nHHH", 300));
        ASSERT_EQ(ends.size(), 3u);
        EXPECT_NEAR(ends[0], 15, 1);
        EXPECT_NEAR(ends[1] - ends[0], 21, 1);
        EXPECT_NEAR(ends[2] - ends[1], 42, 1);

        const auto info = engine->Measure("One\nTwo\n\nFour", 300);
        ASSERT_EQ(info.lines.size(), 4u);
        for (size_t i = 0; i < info.lines.size(); ++i)
            EXPECT_FLOAT_EQ(info.lines[i].baseline, 15 + 21 * float(i));
    }
}
