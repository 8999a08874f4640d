// Tests of judgement in play: the bounds of the windows in single precision, one judgement
// per lane and update, misses one per update, the combo across lanes and the gap setting.
#include <gtest/gtest.h>

#include <cmath>

#include "GameHarness.h"
#include "gameplay/Judgement.h"

namespace gametest {
namespace {

class GameJudgement : public GameHarness {
  protected:
    // Starts a BPM 150 run with the gap setting and runs it to the song's start (update 333).
    void StartPlay(float hitGap = 0) {
        GetConfig().HitGap = hitGap;
        WriteChart("BPM[150]\nSecond[30]\n[RU,BU,9]\n");
        Start();
        RunThrough(333);
    }

    // Puts one red Up note at distance d, presses W in the next update and returns the word.
    // Then waits until the word is gone, so that W can be pressed again.
    std::wstring JudgeRedAt(float d) {
        Red() = {{d, 0}};
        Next({kW});
        std::wstring word = RedWord();
        for (int i = 0; i < 8; ++i) Next();
        return word;
    }
};

TEST_F(GameJudgement, BoundsAreInclusiveAndReachIsStrict) {
    StartPlay(3.0f);
    float u = Unit(150), g = 3.0f / 1350.0f;
    float perfect = u * 3.0f + g, reach = u * 20.0f + g;
    EXPECT_EQ(JudgeRedAt(perfect), L"Perfect");
    EXPECT_EQ(JudgeRedAt(-perfect), L"Perfect");
    EXPECT_EQ(JudgeRedAt(std::nextafter(perfect, 1.0f)), L"Great");
    EXPECT_EQ(JudgeRedAt(u * 9.0f + g), L"Great");
    EXPECT_EQ(JudgeRedAt(u * 10.0f + g), L"OK");
    EXPECT_EQ(JudgeRedAt(std::nextafter(reach, 0.0f)), L"Bad");
    EXPECT_EQ(JudgeRedAt(reach), L"");  // not in reach: the press only flashes
    EXPECT_EQ(Red().size(), 1u);
    // A note far below the line that became first late finds no grade; it is missed.
    int32_t score = GetRunScore().score;
    EXPECT_EQ(JudgeRedAt(-std::nextafter(reach, 1.0f)), L"Miss");
    EXPECT_EQ(GetRunScore().score, score);
}

TEST_F(GameJudgement, PressesOfOtherKeysOnlyFlash) {
    StartPlay();
    Red() = {{0, 2}};  // Down: S
    Next({kW, kA, kD});
    EXPECT_EQ(Red().size(), 1u);
    EXPECT_EQ(CountSounds(SoundCall::Kind::Effect, L"タンバリンの音.wav"), 1);
    Next();
    Next({kW, kS});  // several keys of a lane: the matching one judges, once
    EXPECT_TRUE(Red().empty());
    EXPECT_EQ(RedWord(), L"Perfect");
}

TEST_F(GameJudgement, OneNotePerLaneAndUpdate) {
    StartPlay();
    Red() = {{0, 0}, {0, 0}};
    Next({kW});
    EXPECT_EQ(Red().size(), 1u);
}

TEST_F(GameJudgement, TwoNotesPastTheMissBoundGoInConsecutiveUpdates) {
    StartPlay();
    float u = Unit(150);
    float bound = -(u * 9.0f);
    GetRunScore().combo = 5;
    Red() = {{bound, 0}, {bound, 1}};  // on the bound: not yet missed
    Next();                            // moved past it: the first goes
    EXPECT_EQ(Red().size(), 1u);
    EXPECT_EQ(RedWord(), L"Miss");
    EXPECT_EQ(GetRunScore().maxCombo, 5);
    EXPECT_EQ(GetRunScore().combo, 0);
    Draw(*game);
    EXPECT_EQ(texts[9].color.r, 128.0f / 255.0f);
    EXPECT_EQ(TintOf(L"HitArea", 420), kWhite);  // a miss does not flash
    Next();
    EXPECT_TRUE(Red().empty());
    EXPECT_EQ(RedWord(), L"Miss");
}

TEST_F(GameJudgement, RedAndBluePerfectInOneUpdateAddTwo) {
    StartPlay();
    Red() = {{0, 1}};
    Blue() = {{0, 3}};
    Next({kD, kJ});
    EXPECT_EQ(RedWord(), L"Perfect");
    EXPECT_EQ(BlueWord(), L"Perfect");
    EXPECT_EQ(GetRunScore().combo, 2);
    EXPECT_EQ(GetRunScore().score, 1000);
    Draw(*game);
    EXPECT_EQ(TintOf(L"HitArea", 420), (ColorRgb{255, 255, 0}));
}

TEST_F(GameJudgement, GradesScoreAndChain) {
    StartPlay();
    float u = Unit(150);
    EXPECT_EQ(JudgeRedAt(0), L"Perfect");
    EXPECT_EQ(JudgeRedAt(5 * u), L"Great");
    EXPECT_EQ(JudgeRedAt(9.5f * u), L"OK");
    EXPECT_EQ(GetRunScore().maxCombo, 2);
    EXPECT_EQ(GetRunScore().combo, 0);
    EXPECT_EQ(JudgeRedAt(0), L"Perfect");
    EXPECT_EQ(JudgeRedAt(15 * u), L"Bad");
    EXPECT_EQ(GetRunScore().score, 500 + 300 + 100 + 500);
    EXPECT_EQ(GetRunScore().maxCombo, 2);
}

TEST_F(GameJudgement, NegativeGapMakesPerfectImpossible) {
    // Below -0.018 * BPM the Perfect window closes: 3u + g < 0.
    StartPlay(-0.018f * 150 - 0.1f);
    EXPECT_EQ(JudgeRedAt(0), L"Great");
    EXPECT_EQ(JudgeRedAt(-0.0f), L"Great");
}

TEST_F(GameJudgement, LargeGapWidensTheMissBound) {
    StartPlay(13.5f);  // g = 0.01, fifteen updates of motion at BPM 150
    float u = Unit(150), g = 13.5f / 1350.0f;
    Red() = {{-14 * u, 0}};  // long past 9u, but within 9u + g
    Next();
    EXPECT_EQ(Red().size(), 1u);
    Red().front().distance = -(u * 9.0f + g);
    Next();
    EXPECT_TRUE(Red().empty());
}

TEST(Judgement, WindowUnitIsSinglePrecision) {
    EXPECT_EQ(WindowUnit(150), 0x1.5d867ep-11f);
    EXPECT_EQ(WindowBound(WindowUnit(150), 3.0f, 0.0f), 0x1.0624dep-9f);
    EXPECT_EQ(WindowBound(WindowUnit(150), 20.0f, 0.0f), 0x1.b4e81ep-7f);
}

}  // namespace
}  // namespace gametest
