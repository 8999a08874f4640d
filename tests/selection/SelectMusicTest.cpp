// Music selection scene: keys and wraps, the preview schedule to the update, confirmation into
// MusicChoice, and what is drawn.
#include <typeinfo>

#include "../settings/SceneHarness.h"
#include "gameplay/Game.h"
#include "selection/SelectMusic.h"
#include "settings/ConfigS.h"
#include "settings/Title.h"

namespace {

using scenetest::kSpace;
using Kind = SoundCall::Kind;

struct SelectMusicTest : scenetest::SceneHarness {
    SelectMusic scene;

    // Writes a list and its textures; the scene is not initialised yet.
    void WriteList(const std::string& list) {
        WriteFile("Data/Music/0.nld", list);
        WriteTexture("SelectMusic.png");
        for (const char* jacket : {"Alpha.png", "Beta.png", "Gamma.png", "Solo.png"})
            WriteTexture(jacket);
    }
    void SetUp() override {
        SceneHarness::SetUp();
        WriteList("Alpha[1:2:3]Ann\nBeta[4:-3:6]Bob\nGamma[7:8:0]Cid\n");
    }
    // Title of the jacket drawn in the middle.
    std::wstring Highlighted() {
        Draw(scene);
        return sprites.at(0).name;
    }
};

TEST_F(SelectMusicTest, PreviewTimelineToTheUpdate) {
    ASSERT_TRUE(scene.Initialize());
    ASSERT_EQ(Step(scene), nullptr);  // update 0: the highlight is new
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 1);
    EXPECT_EQ(CountSounds(Kind::BackgroundMusic, L""), 1);
    EXPECT_EQ(CountSounds(Kind::Music, L""), 1);
    std::vector<int> starts, stops;
    for (int update = 1; update <= 1300; ++update) {
        ASSERT_EQ(Step(scene), nullptr);
        if (CountSounds(Kind::Music, L"Alpha/Alpha.wav")) starts.push_back(update);
        if (CountSounds(Kind::Music, L"")) stops.push_back(update);
        EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 0);
    }
    EXPECT_EQ(starts, (std::vector<int>{121, 1280}));
    EXPECT_EQ(stops, (std::vector<int>{1097}));
    for (const SoundCall& c : sounds) EXPECT_NE(c.name, L"Alpha/Alpha.wav");
}

TEST_F(SelectMusicTest, MovingTheHighlightRestartsTheScheduleAndChangingLevelDoesNot) {
    ASSERT_TRUE(scene.Initialize());
    Idle(scene, 100);
    ASSERT_EQ(Step(scene, {'D'}), nullptr);
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 1);
    Idle(scene, 50);
    ASSERT_EQ(Step(scene, {'W'}), nullptr);
    EXPECT_TRUE(sounds.empty());
    Idle(scene, 69);
    ASSERT_EQ(Step(scene), nullptr);  // 121 updates after the move
    EXPECT_EQ(CountSounds(Kind::Music, L"Beta/Beta.wav"), 1);
}

TEST_F(SelectMusicTest, HighlightAndLevelWrapBothWays) {
    ASSERT_TRUE(scene.Initialize());
    EXPECT_EQ(Highlighted(), L"Alpha");
    Step(scene, {'A'});
    EXPECT_EQ(Highlighted(), L"Gamma");
    EXPECT_EQ(sprites[1].name, L"Beta");   // previous
    EXPECT_EQ(sprites[2].name, L"Alpha");  // next
    Step(scene, {'D'});
    EXPECT_EQ(Highlighted(), L"Alpha");
    Step(scene, {'A', 'D'});
    EXPECT_TRUE(sounds.empty());

    Step(scene, {'S'});  // level 0 -> 2: red frame
    Draw(scene);
    EXPECT_EQ(sprites[3].name, L"waku");
    EXPECT_EQ(sprites[3].red, 255);
    EXPECT_EQ(sprites[3].green, 0);
    EXPECT_EQ(texts[1].text, L"Level\n3");
    Step(scene, {'W'});  // level 2 -> 0: green frame
    Draw(scene);
    EXPECT_EQ(sprites[3].green, 250);
    EXPECT_EQ(texts[1].text, L"Level\n1");
}

TEST_F(SelectMusicTest, ConfirmingLevelIndexTwoRecordsTheChoice) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene, {'D', 'D'});  // one press in a frame: Beta
    Step(scene, {'D'});       // Gamma, rated 0 on level 3
    auto none = Step(scene, {'S', kSpace});
    EXPECT_EQ(none, nullptr) << "a level rated 0 must not start";
    Step(scene, {'A'});  // Beta, level 3 rated 6
    auto next = Step(scene, {kSpace});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(typeid(*next), typeid(Game));
    EXPECT_EQ(GetMusicChoice().index, 1);
    EXPECT_EQ(GetMusicChoice().title, L"Beta");
    EXPECT_EQ(GetMusicChoice().level, L"3");
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].name, L"kira2.wav");
    EXPECT_FLOAT_EQ(sounds[0].scale, 0.1f);
    EXPECT_EQ(sounds[1].kind, Kind::Music);
    EXPECT_EQ(sounds[1].name, L"");

    // The next visit opens on the same piece and level.
    SelectMusic again;
    ASSERT_TRUE(again.Initialize());
    Draw(again);
    EXPECT_EQ(sprites[0].name, L"Beta");
    EXPECT_EQ(texts[1].text, L"Level\n6");
}

TEST_F(SelectMusicTest, NegativeRatingIsShownWithItsSignAndCannotStart) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene, {'D', 'W'});  // Beta, level 2: rated -3
    Draw(scene);
    EXPECT_EQ(texts[1].text, L"Level\n-3");
    EXPECT_EQ(Step(scene, {kSpace}), nullptr);
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(GetMusicChoice().title.empty());
}

TEST_F(SelectMusicTest, OneEntryListStaysOnItsEntry) {
    WriteList("Solo[1:1:1]Me");
    ASSERT_TRUE(scene.Initialize());
    Step(scene);
    Step(scene, {'A'});
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 0);
    Step(scene, {'D'});
    EXPECT_EQ(CountSounds(Kind::Effect, L"card-turn-over1.wav"), 0);
    Draw(scene);
    ASSERT_EQ(sprites.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(sprites[i].name, L"Solo");
}

TEST_F(SelectMusicTest, ChoiceBeyondAShorterListStartsAtTheTop) {
    GetMusicChoice() = {7, L"Gone", L"2"};
    ASSERT_TRUE(scene.Initialize());
    Draw(scene);
    EXPECT_EQ(sprites[0].name, L"Alpha");
    EXPECT_EQ(texts[1].text, L"Level\n2");  // the level is kept
}

TEST_F(SelectMusicTest, QAndELeaveAndStopThePreview) {
    ASSERT_TRUE(scene.Initialize());
    auto title = Step(scene, {'Q', 'E'});
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(typeid(*title), typeid(Title));
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].kind, Kind::Music);
    auto config = Step(scene, {'E'});
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(typeid(*config), typeid(ConfigS));
}

TEST_F(SelectMusicTest, TextBlocksShowTheNeighboursAndTheHighScore) {
    RecordHighScore(L"Alpha", 0, 1234);
    ASSERT_TRUE(scene.Initialize());
    Draw(scene);
    ASSERT_GT(texts.size(), 10u);  // the specified ten first, then the selection's added ones
    EXPECT_EQ(texts[0].text, L"\u266A \u266A \u266A\nAlpha\nMusic : Ann");
    EXPECT_EQ(texts[4].text, L"Gamma\nMusic : Cid");
    EXPECT_EQ(texts[5].text, L"Level\n7");
    EXPECT_FLOAT_EQ(texts[5].color.g, 128 / 255.0f);
    EXPECT_EQ(texts[6].text, L"Beta\nMusic : Bob");
    EXPECT_FLOAT_EQ(texts[6].color.r, 136 / 255.0f);
    EXPECT_EQ(texts[9].text, L"HiScore\n1234");
    EXPECT_EQ(texts[9].rect.top, 420);
    EXPECT_EQ(sprites[1].position.x, 300);
    EXPECT_EQ(sprites[1].position.y, -90);
    EXPECT_EQ(sprites[1].red, 136);
}

TEST_F(SelectMusicTest, UnusableListsRefuseToStart) {
    WriteList("");
    EXPECT_FALSE(scene.Initialize());
    WriteList("A[1:x:1]a\n");
    SelectMusic malformed;
    EXPECT_FALSE(malformed.Initialize());
}

}  // namespace
