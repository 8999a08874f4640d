// Tests of the play screen: the time display, the scrolling title, the track pulse, the note
// sprites' placement and depth, and the key letters around the hit line.
#include <gtest/gtest.h>

#include <cmath>

#include "GameHarness.h"
#include "gameplay/GameScreen.h"
#include "platform/TextEngine.h"

namespace gametest {
namespace {

class GameScreen : public GameHarness {
  protected:
    // The title text drawn this frame.
    std::wstring TitleShown() { return TextAt(10, 150); }
};

TEST(GameScreenTexts, TimeDisplay) {
    EXPECT_EQ(TimeText(5), L" 0:05");
    EXPECT_EQ(TimeText(65), L"1:05");
    EXPECT_EQ(TimeText(600), L"10:00");
    EXPECT_EQ(TimeText(0), L" 0:00");
    EXPECT_EQ(TimeText(-1), L" 0:00");
}

TEST(GameScreenTexts, WindowsAndLevels) {
    EXPECT_EQ(TitleWindow(L"ABCDEFGHIJ", 10), std::wstring(10, L'\u3000'));
    EXPECT_EQ(TitleWindow(L"ABCDEFGHIJK", 5), L"FGHIJK\u3000\u3000\u3000\u3000");
    EXPECT_EQ(TickerWindow(L"    Clear !"), L"    Clear ");
    EXPECT_EQ(TickerWindow(L"!"), L"!         ");
    EXPECT_EQ(LevelIndex(L"3"), 2);
    EXPECT_EQ(LevelIndex(L"x"), 0);
    EXPECT_EQ(ColorsOfLevel(L"2").dark, (ColorRgb{205, 133, 63}));
}

TEST_F(GameScreen, NineCharacterTitleStandsTenScroll) {
    WriteChart("BPM[150]\n", L"ABCDEFGHI");
    Start();
    for (int i = 0; i < 40; ++i) ASSERT_EQ(TitleShown(), L"ABCDEFGHI");
    WriteChart("BPM[150]\n", L"ABCDEFGHIJ", L"3");
    Start();
    for (int i = 0; i < 16; ++i) ASSERT_EQ(TitleShown(), L"ABCDEFGHIJ") << i;
    EXPECT_EQ(TitleShown(), L"BCDEFGHIJ\u3000");
    EXPECT_EQ(texts[0].color.r, 1.0f);  // level 3's bright colour (255, 0, 0)
    EXPECT_EQ(texts[0].color.g, 0.0f);
    for (int i = 0; i < 16 * 9 - 1; ++i) TitleShown();
    EXPECT_EQ(TitleShown(), std::wstring(10, L'\u3000'));  // position L: all blank
    for (int i = 0; i < 15; ++i) TitleShown();
    EXPECT_EQ(TitleShown(), L"ABCDEFGHIJ");  // back to the start
}

TEST_F(GameScreen, TrackPulseAtBpm150) {
    WriteChart("BPM[150]\n", L"Song", L"2");
    Start();
    const ColorRgb bright{255, 140, 0}, dark{205, 133, 63};
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), bright);
    RunThrough(79);
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), bright);
    Next();  // 80 updates bright
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), dark);
    RunThrough(119);
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), dark);
    Next();  // then 40 dark: a period of 120
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), bright);
    RunThrough(200);
    Draw(*game);
    EXPECT_EQ(TintOf(L"skk", 610), dark);
}

TEST_F(GameScreen, SpritesAndTheirPlaces) {
    WriteChart("BPM[150]\n[RU 1]\n[BR 1]\n[BL 1]\n");
    Start();
    Red().front().distance = 0.1f;
    Blue() = {{0.5f, 1}, {std::nextafter(0.5f, 1.0f), 3}};
    Draw(*game);
    ASSERT_EQ(sprites.size(), 6u);
    const SpriteCall& jacket = sprites[0];
    EXPECT_EQ(jacket.name, L"Song");
    EXPECT_EQ(jacket.scale, 0.5f);
    EXPECT_EQ(jacket.origin.x, 128.0f);
    EXPECT_EQ(jacket.source.right, 256);
    const SpriteCall& red = sprites[1];
    EXPECT_EQ(red.name, L"Up_Red");
    EXPECT_EQ(red.position.x, 420.0f);
    EXPECT_EQ(red.position.y, 365.0f);
    EXPECT_EQ(red.depth, 0.1f);
    EXPECT_EQ(red.origin.y, 16.0f);
    const SpriteCall& blue = sprites[2];
    EXPECT_EQ(blue.name, L"Right_Blue");  // at exactly 0.5 drawn; above it not
    EXPECT_EQ(blue.position.y, 500.0f - 337.5f * 2.0f);
    EXPECT_EQ(sprites[3].name, L"HitArea");
    EXPECT_EQ(sprites[3].position.y, 500.0f);
    const SpriteCall& track = sprites[5];
    EXPECT_EQ(track.name, L"skk");
    EXPECT_EQ(track.source.bottom, 720);
    EXPECT_EQ(track.origin.x, 275.0f);
    GetConfig().HiSpeed = 1.0f;
    GetConfig().HitLine = 400.0f;
    Draw(*game);
    EXPECT_EQ(sprites[1].position.y, 400.0f - 67.5f);
}

TEST_F(GameScreen, KeyLettersAroundTheHitLine) {
    WriteChart("BPM[150]\n");
    Start();
    Draw(*game);
    ASSERT_GE(texts.size(), 9u);
    EXPECT_EQ(texts[1].text, L"W");
    EXPECT_EQ(texts[1].rect.left, 404.0f);
    EXPECT_EQ(texts[1].rect.top, 457.0f);
    EXPECT_EQ(texts[1].rect.right, 436.0f);
    EXPECT_EQ(texts[1].rect.bottom, 489.0f);
    EXPECT_EQ(texts[4].text, L"S");
    EXPECT_EQ(texts[4].rect.top, 523.0f);
    EXPECT_EQ(texts[7].text, L"L");
    EXPECT_EQ(texts[7].rect.bottom, 530.0f);
}

// Screen rows [first, last] inked in the last run of inked rows of a string rendered by the
// game's text setup into its rectangle: the string's last line.
std::pair<int, int> LastLineInk(const TextCall& call) {
    const platform::TextBitmap b = TextRenderer::Get().engine->Render(
        platform::WideToUtf8(call.text), call.rect.right - call.rect.left);
    int first = -1, last = -1;
    for (int row = 0; row < b.height; ++row) {
        bool inked = false;
        for (int x = 0; x < b.width && !inked; ++x)
            inked = b.bgra[(size_t(row) * b.width + x) * 4 + 3] > 64;
        if (!inked) continue;
        if (row != last + 1) first = row;
        last = row;
    }
    const int top = int(call.rect.top) + b.y;
    return {top + first, top + last};
}

// The ticker (rectangle top 200) sits between the longest combo and "Push SpaceKey to
// SelectMusic", the eighth line of the block at 100.
TEST_F(GameScreen, ResultTickerClearsTheWayBack) {
    ASSERT_TRUE(TextRenderer::Get().Initialize(L"メイリオ", L"", 14.0f));
    WriteChart("BPM[150]\nSecond[0]\n");
    Start();
    RunThrough(812 + 8);  // the ticker shows eight characters of "    ALL Perfect !!!..."
    Draw(*game);
    const TextCall* block = nullptr;
    const TextCall* ticker = nullptr;
    for (const TextCall& t : texts) {
        if (t.rect.left == 200 && t.rect.top == 100) block = &t;
        if (t.rect.left == 200 && t.rect.top == 200) ticker = &t;
    }
    ASSERT_TRUE(block && ticker);
    const auto way = LastLineInk(*block);
    const auto tick = LastLineInk(*ticker);
    TextRenderer::Get().engine.reset();
    EXPECT_LT(tick.second, way.first);
    EXPECT_NEAR(way.second, 100 + 15 + 7 * 21, 4);  // its baseline, give or take a descender
}

}  // namespace
}  // namespace gametest
