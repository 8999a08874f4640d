// Tests of the Game scene's timeline: countdown, song start, first judgement, the result
// update, the ticker with the bonus and the return to the selection, and chart failures.
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "settings/PlayStats.h"

namespace gametest {
namespace {

using Kind = SoundCall::Kind;
const std::wstring kTap = L"タンバリンの音.wav";

class GameTimeline : public GameHarness {};

TEST_F(GameTimeline, SongStartsIn333AndFirstJudgementIn334) {
    WriteChart("BPM[150]\nSecond[10]\n[RU,BU,5]\n");
    Start();
    RunThrough(332);
    EXPECT_EQ(TextAt(200, 260), L"-");  // no start text in the lead-in
    EXPECT_TRUE(sounds.empty());
    Red().front().distance = 0;
    ASSERT_EQ(Next({kW}), nullptr);  // update 333: the song starts after the judgement step
    EXPECT_EQ(CountSounds(Kind::Music, L"Song/Song.wav"), 1);
    EXPECT_EQ(sounds.back().scale, 0.8f);
    EXPECT_EQ(Red().size(), 1u);
    EXPECT_EQ(RedWord(), L"");
    Blue().front().distance = 0;
    Next({kI});  // update 334
    EXPECT_EQ(CountSounds(Kind::Music, L"Song/Song.wav"), 0);
    EXPECT_TRUE(Blue().empty());
    EXPECT_EQ(BlueWord(), L"Perfect");
    EXPECT_EQ(TextAt(10, 180), L"500\n1 Combo");
}

TEST_F(GameTimeline, CountdownPressFlashesAndSoundsButJudgesNothing) {
    WriteChart("BPM[150]\nSecond[10]\n[RU 1]\n");
    Start();
    EXPECT_EQ(TextAt(200, 260), L"Ready...");
    RunThrough(99);
    Red().front().distance = 0;
    Next({kW, kD});  // two keys of one lane: one flash, one sound
    EXPECT_EQ(CountSounds(Kind::Effect, kTap), 1);
    EXPECT_EQ(sounds.front().scale, 0.4f);
    EXPECT_EQ(Red().size(), 1u);
    Draw(*game);
    EXPECT_EQ(TintOf(L"HitArea", 420), (ColorRgb{0, 255, 255}));
    EXPECT_EQ(TintOf(L"HitArea", 800), kWhite);
    Next({kS, kJ});  // one sound per lane
    EXPECT_EQ(CountSounds(Kind::Effect, kTap), 2);
    RunThrough(108);
    Draw(*game);
    EXPECT_EQ(TintOf(L"HitArea", 420), (ColorRgb{0, 255, 255}));
    Next();  // update 109: eight updates after the last press the flash is gone
    Draw(*game);
    EXPECT_EQ(TintOf(L"HitArea", 420), kWhite);
    RunThrough(210);
    EXPECT_EQ(TextAt(200, 260), L"Ready...");
    Next();
    EXPECT_EQ(TextAt(200, 260), L"GO!!");
    RunThrough(269);
    EXPECT_EQ(TextAt(200, 260), L"GO!!");
    Next();
    EXPECT_EQ(TextAt(200, 260), L"-");
}

TEST_F(GameTimeline, EmptyChartEndsAllPerfectWithBonus50000) {
    WriteChart("BPM[150]\nSecond[0]\n");
    Start();
    RunThrough(811);
    EXPECT_EQ(TextAt(200, 100), L"-");
    Next();  // 812 + 60 * 0: the result, and the first character of the ticker goes
    EXPECT_EQ(game->resultMessage, L"    ALL Perfect !!!   Bonus +50000");
    EXPECT_EQ(TextAt(200, 200), L"    ALL Pe");
    EXPECT_EQ(TextAt(200, 100).substr(0, 8), L"Score\n0\n");
    RunThrough(1321);
    EXPECT_EQ(GetHighScore(L"Song", 0), 0);
    // The last character goes in update 1322; Space only works from the next update on.
    EXPECT_EQ(Next({scenetest::kSpace}), nullptr);
    EXPECT_EQ(GetRunScore().score, 50000);
    EXPECT_EQ(GetHighScore(L"Song", 0), 50000);
    ASSERT_NE(FindSongStats(L"Song"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[0].best, PlayMark::kAllPerfect);
    EXPECT_EQ(FindSongStats(L"Song")->levels[0].plays, 1);
    EXPECT_EQ(TextAt(200, 100).substr(0, 12), L"Score\n50000\n");
    EXPECT_EQ(TextAt(200, 200), L"          ");
    RunThrough(1330);
    EXPECT_NE(Next({scenetest::kSpace}), nullptr);
}

TEST_F(GameTimeline, ResultComesInUpdate812Plus60TimesSecond) {
    WriteChart("BPM[150]\nSecond[2]\n", L"Song", L"3");
    Start();
    EXPECT_EQ(TextAt(10, 230), L" 0:02");  // before the first second, the play length
    RunThrough(392 + 60 * 4);              // four seconds counted: 7 - 4 = 3 left, shown 0
    EXPECT_EQ(TextAt(10, 230), L" 0:00");
    RunThrough(931);
    EXPECT_EQ(TextAt(200, 100), L"-");
    Next();
    EXPECT_EQ(TextAt(200, 100), L"Score\n0\n\nMax 0 Combo\n\n\n\nPush SpaceKey to SelectMusic");
    EXPECT_EQ(TextAt(10, 180), L"-");  // the play texts are gone
}

TEST_F(GameTimeline, AllGreatGivesFullComboBonus) {
    WriteChart("BPM[150]\nSecond[0]\n[RU 1]\n[RU 1]\n[BL 1]\n", L"Song", L"2");
    Start();
    RunThrough(333);
    float u = Unit(150);
    Red() = {{8 * u, 0}, {8 * u, 0}};
    Blue() = {{-7 * u, 3}};
    Next({kW, kJ});
    Next();
    Next({kW});
    EXPECT_EQ(TextAt(10, 180), L"900\n3 Combo");
    RunThrough(812 + 480);
    EXPECT_EQ(GetRunScore().score, 300 * 3 + 10000);
    EXPECT_EQ(GetHighScore(L"Song", 1), 10900);
    ASSERT_NE(FindSongStats(L"Song"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[1].best, PlayMark::kFullCombo);
}

TEST_F(GameTimeline, OneMissBreaksTheFullCombo) {
    WriteChart("BPM[150]\nSecond[0]\n[RU 1]\n[RU 1]\n[RU 1]\n");
    Start();
    RunThrough(333);
    float u = Unit(150);
    Red() = {{0, 0}, {3 * u, 0}, {50 * u, 0}};
    Next({kW});
    Next();
    Next({kW});
    RunThrough(812);
    EXPECT_EQ(game->resultMessage, L"    Clear !");
    EXPECT_EQ(GetRunScore().maxCombo, 2);
    RunThrough(812 + 165);
    EXPECT_EQ(GetRunScore().score, 1000);
    EXPECT_EQ(GetHighScore(L"Song", 0), 1000);
    ASSERT_NE(FindSongStats(L"Song"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[0].best, PlayMark::kPlayed);
}

TEST_F(GameTimeline, UnplayableChartsFailToInitialize) {
    ::testing::internal::CaptureStderr();
    WriteChart("BPM[700]\n");
    EXPECT_FALSE(Game().Initialize());
    WriteChart("BPM[150]\n[RU abc]\n");
    EXPECT_FALSE(Game().Initialize());
    GetMusicChoice().title = L"Missing";
    EXPECT_FALSE(Game().Initialize());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "lyrandel: Data/Music/Song/1.nsd:1: BPM 700 is outside 1 to 600\n"
              "lyrandel: Data/Music/Song/1.nsd:2: note value \"abc\": not a number\n"
              "lyrandel: Data/Music/Missing/1.nsd: cannot open the chart file\n");
}

}  // namespace
}  // namespace gametest
