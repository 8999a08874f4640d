// How early or late each press was: measured from the note's exact arrival (fractional
// updates) plus the press's time into its update; the bars under the hit markers; the result's
// panel and its sync key.
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "gameplay/HitErrorBar.h"
#include "gameplay/Judgement.h"
#include "services/TextureStore.h"
#include "settings/Timing.h"

namespace gametest {
namespace {

// At BPM 150 a note of value 0.1 is 2325 * 0.1 + 62 = 294.5 motions from the line: the motion
// starts in update 271, so it arrives half-way through update 565 and 566.
constexpr const char* kChart = "BPM[150]\nSecond[40]\n[RU 0.1]\n[BL 0.1]\n[RD 1]\n";

class HitErrorsTest : public GameHarness {
  protected:
    // Plays the chart: red Up 3 ms into update 565 (5 ms early), blue Left at the start of 566
    // (8 ms late), red Down two updates before its arrival at 2658 (32 ms early).
    void PlayThePresses() {
        WriteChart(kChart, L"Etude");
        Start();
        RunThrough(564);
        NextAt({kW}, 3.0);
        Next({kJ});
        RunThrough(2655);
        Next({kS});
    }
    const std::vector<HitError>& Errors() const { return game->hitErrors.errors(); }

    // The tick sprites drawn now: the bars' 2-pixel-wide marks.
    std::vector<SpriteCall> Ticks() {
        Draw(*game);
        std::vector<SpriteCall> ticks;
        for (const SpriteCall& s : sprites)
            if (s.name == WhiteTexture() && s.source.right == 2 && s.source.bottom == 11)
                ticks.push_back(s);
        return ticks;
    }
};

TEST_F(HitErrorsTest, ErrorsRunFromTheExactArrivalToThePressWithinItsUpdate) {
    PlayThePresses();
    ASSERT_EQ(Errors().size(), 3u);
    EXPECT_EQ(Errors()[0].lane, 0);
    EXPECT_NEAR(Errors()[0].ms, -8.0 + 3.0, 0.01);
    EXPECT_EQ(Errors()[0].grade, Grade::kPerfect);
    EXPECT_EQ(Errors()[1].lane, 1);
    EXPECT_NEAR(Errors()[1].ms, 8.0, 0.01);
    EXPECT_NEAR(Errors()[2].ms, -32.0, 0.01);
    EXPECT_EQ(Errors()[2].grade, Grade::kPerfect);
    const HitSummary s = game->hitErrors.Summary();
    EXPECT_EQ(s.count, 3u);
    EXPECT_NEAR(s.meanMs, -29.0 / 3.0, 0.01);
    EXPECT_EQ(s.early, 2u);
    EXPECT_EQ(s.late, 1u);
    EXPECT_EQ(s.bins[10 - 3], 1u);  // -32 ms: the -30 ms bin
    EXPECT_EQ(s.bins[10 - 1], 1u);  // -5 ms rounds to the -10 ms bin's edge
    EXPECT_EQ(s.bins[10 + 1], 1u);  // +8 ms
}

TEST_F(HitErrorsTest, TheSummaryFollowsEachPressAndANewRunStartsItAgain) {
    WriteChart(kChart, L"Etude");
    Start();
    RunThrough(564);
    NextAt({kW}, 3.0);
    EXPECT_EQ(game->hitErrors.Summary().count, 1u);
    Next({kJ});
    EXPECT_EQ(game->hitErrors.Summary().count, 2u) << "a press after a summary is counted";
    EXPECT_NEAR(game->hitErrors.Summary().meanMs, 1.5, 0.01);
    game->hitErrors.Start(GetPlaySession());
    EXPECT_EQ(game->hitErrors.Summary().count, 0u);
}

TEST_F(HitErrorsTest, TicksShowEarlyLeftAndLateRightOnTheirLanesOnly) {
    WriteChart(kChart, L"Etude");
    Start();
    RunThrough(564);
    EXPECT_TRUE(Ticks().empty());  // no bar before the first press
    NextAt({kW}, 3.0);
    std::vector<SpriteCall> ticks = Ticks();
    ASSERT_EQ(ticks.size(), 1u);
    const float unit = Unit(150);
    EXPECT_FLOAT_EQ(ticks[0].position.x, TickX(420, -5.0, unit, 0) - 1);
    EXPECT_LT(ticks[0].position.x, 419);
    EXPECT_FLOAT_EQ(ticks[0].position.y, 500 + kBarBelowLine - 5);
    Next({kJ});
    ticks = Ticks();
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_GT(ticks[1].position.x, 800);
    EXPECT_FLOAT_EQ(ticks[1].position.x, TickX(800, 8.0, unit, 0) - 1);
    // The scale: the Bad window (20 updates, 320 ms) reaches the bar's end, and no further.
    EXPECT_FLOAT_EQ(TickX(800, 320.0, unit, 0), 800 + kBarHalfWidth);
    EXPECT_FLOAT_EQ(TickX(800, -900.0, unit, 0), 800 - kBarHalfWidth);
    GetTiming().choices.errorBar = false;
    EXPECT_TRUE(Ticks().empty());
}

TEST_F(HitErrorsTest, TheBarKeepsTheLastTwentyPressesTheNewestBrightest) {
    std::string chart = "BPM[150]\nSecond[40]\n";
    for (int i = 0; i < 25; ++i) chart += "[RU " + std::to_string(0.1 + 0.02 * i) + "]\n";
    WriteChart(chart, L"Etude");
    Start();
    for (int i = 0; i < 25; ++i) {
        RunThrough(565 + int(46.5 * i));  // a note every 46.5 updates
        Next({kW});
    }
    ASSERT_EQ(Errors().size(), 25u);
    std::vector<SpriteCall> ticks = Ticks();
    ASSERT_EQ(ticks.size(), kBarTicks);
    EXPECT_LT(ticks.front().alpha, ticks.back().alpha);
    EXPECT_EQ(ticks.back().alpha, 255);
}

TEST_F(HitErrorsTest, TheSyncKeySetsTheSongOffsetThatCancelsTheMeanOnce) {
    GetTiming().songOffsets[L"Etude"] = 4;  // played with the song's offset of +4 ms
    PlayThePresses();
    RunThrough(812 + 60 * 40 + 1);
    ASSERT_TRUE(game->resultShown);
    EXPECT_TRUE(Ticks().empty());  // the bars belong to the play screen
    Next({'Z'});
    EXPECT_EQ(SongOffsetMs(L"Etude"), 4 - 10);  // mean -9.67 ms: the song must start earlier
    EXPECT_EQ(ReadFile("SongOffsets.txt"), "-6\tEtude\n");
    Next();
    Next({'Z'});  // again: the same offset, not twice the change
    EXPECT_EQ(SongOffsetMs(L"Etude"), -6);
    bool shown = false;
    Draw(*game);
    for (const TextCall& t : texts) shown = shown || t.text == L"Song offset set to -6 ms";
    EXPECT_TRUE(shown);
}

TEST_F(HitErrorsTest, WithoutPressesTheResultShowsNoPanelAndZDoesNothing) {
    WriteChart("BPM[150]\nSecond[0]\n[RU 0.1]\n", L"Etude");
    Start();
    RunThrough(813);
    ASSERT_TRUE(game->resultShown);
    Next({'Z'});
    EXPECT_EQ(ReadFile("SongOffsets.txt"), "<missing>");
    Draw(*game);
    for (const TextCall& t : texts) EXPECT_EQ(t.text.find(L"Timing"), std::wstring::npos);
}

}  // namespace
}  // namespace gametest
