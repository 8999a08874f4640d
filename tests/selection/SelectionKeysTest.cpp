// The selection's added keys through the scene: held keys repeating on the update clock, the
// search line taking letters from the selection's keys, the order and grouping remembered,
// the marks beside the best score, and songs dropped on the window landing on the first one.
#include <algorithm>
#include <typeinfo>

#include "../settings/SceneHarness.h"
#include "gameplay/Game.h"
#include "selection/SelectMusic.h"
#include "settings/PlayStats.h"
#include "support/ImportSongWriter.h"

namespace {

using Kind = SoundCall::Kind;
constexpr uint32_t kReturn = 0x0D;

struct SelectionKeys : scenetest::SceneHarness {
    SelectMusic scene;

    void SetUp() override {
        SceneHarness::SetUp();
        WriteFile("Data/Music/0.nld",
                  "Alpha[1:2:3]Ann\nBeta[4:5:6]Bob\nGamma[7:8:0]Cid\nDelta[2:2:2]Dee\n");
        for (const char* name : {"SelectMusic", "Alpha", "Beta", "Gamma", "Delta"})
            WriteTexture(std::string(name) + ".png");
    }
    void TearDown() override {
        KeyInput::Get().droppedPaths.clear();
        KeyInput::Get().dropsSettleAtOnce = false;
        SceneHarness::TearDown();
    }
    // One update with text typed since the last one (and keys pressed, as Step does).
    std::unique_ptr<Scene> Type(const std::wstring& text,
                                std::initializer_list<uint32_t> keys = {}) {
        for (wchar_t c : text) KeyInput::Get().AddTypedChar(static_cast<uint32_t>(c));
        return Step(scene, keys);
    }
    // Holds key down for updates updates (the first one is its press); returns the updates
    // (counted from 0) in which the highlight moved.
    std::vector<int> Hold(uint32_t key, int updates) {
        std::vector<int> moves;
        DirectX::Keyboard::HandleMessage(platform::kMsgKeyDown, key, 0);
        for (int u = 0; u < updates; ++u) {
            sounds.clear();
            KeyInput::Get().Update();
            EXPECT_EQ(scene.Update(), nullptr);
            if (CountSounds(Kind::Effect, L"card-turn-over1.wav")) moves.push_back(u);
        }
        DirectX::Keyboard::HandleMessage(platform::kMsgKeyUp, key, 0);
        KeyInput::Get().Update();
        return moves;
    }
    // The title of the highlighted song as drawn, and the texts of that frame.
    std::wstring Highlighted() {
        Draw(scene);
        return sprites.size() > 1 ? sprites.at(0).name : L"";
    }
    bool Shows(const std::wstring& text) {
        Draw(scene);
        return std::any_of(texts.begin(), texts.end(), [&](const TextCall& t) {
            return t.text.find(text) != std::wstring::npos;
        });
    }
};

TEST_F(SelectionKeys, AHeldKeyStepsAfter250msThenEvery50AndEvery25After2s) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene);  // the first highlight's card sound
    const std::vector<int> moves = Hold('D', 200);
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves[0], 0);   // the press
    EXPECT_EQ(moves[1], 16);  // 256 ms: the first update past 250 ms
    int slow = 0, fast = 0;
    for (size_t i = 2; i < moves.size(); ++i) {
        const int gap = moves[i] - moves[i - 1];
        if (moves[i] * 16 <= 2000) {
            EXPECT_TRUE(gap == 3 || gap == 4) << "at update " << moves[i];  // 50 ms
            ++slow;
        } else if (moves[i - 1] * 16 >= 2000) {
            EXPECT_TRUE(gap == 1 || gap == 2) << "at update " << moves[i];  // 25 ms
            ++fast;
        }
    }
    EXPECT_EQ(slow, 35);  // 300 ms to 2000 ms
    EXPECT_EQ(moves.size(), 1u + 1u + 35u + (199 * 16 - 2000) / 25);
    // Released and pressed again: one step, and the wait starts over.
    EXPECT_EQ(Hold('A', 16), std::vector<int>{0});
    // W held changes the level on the same schedule (no card sound, but the frame's colour).
    DirectX::Keyboard::HandleMessage(platform::kMsgKeyDown, 'W', 0);
    for (int u = 0; u < 17; ++u) KeyInput::Get().Update(), scene.Update();
    DirectX::Keyboard::HandleMessage(platform::kMsgKeyUp, 'W', 0);
    Draw(scene);
    EXPECT_EQ(texts[1].text.substr(0, 6), L"Level\n");
    EXPECT_EQ(sprites.back().green, 0);  // level 2 (two steps from 0): red
}

TEST_F(SelectionKeys, TheSearchLineTakesTheLettersAndReturnKeepsItsFilter) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene);
    EXPECT_TRUE(Shows(L"1 of 4"));
    Step(scene, {'F'});
    EXPECT_TRUE(Shows(L"Search\n_"));
    Type(L"d", {'D'});                   // the D key does not step: the letter goes to the line
    EXPECT_EQ(Highlighted(), L"Gamma");  // Alpha is gone: the first match, by its credit "Cid"
    EXPECT_TRUE(Shows(L"Search\nd_"));
    EXPECT_TRUE(Shows(L"1 of 2\n(4 songs)"));  // Delta and Gamma (credit "Cid")
    EXPECT_EQ(Type(L"zz", {scenetest::kSpace, 'Q', 'E'}), nullptr);
    EXPECT_TRUE(Shows(L"no song matches"));
    EXPECT_EQ(sprites.size(), 1u);  // the frame alone
    sounds.clear();
    EXPECT_EQ(Type(L"", {scenetest::kSpace}), nullptr);  // Space does nothing
    EXPECT_EQ(CountSounds(Kind::Effect, L"kira2.wav"), 0);
    Step(scene, {scenetest::kBackspace});
    Step(scene, {scenetest::kBackspace});
    EXPECT_TRUE(Shows(L"1 of 2"));
    Step(scene, {kReturn});  // kept: the keys step within the matches again
    EXPECT_TRUE(Shows(L"Search\nd\n"));
    Step(scene, {'D'});
    EXPECT_EQ(Highlighted(), L"Delta");
    EXPECT_TRUE(Shows(L"2 of 2"));
    Step(scene, {'D'});
    EXPECT_EQ(Highlighted(), L"Gamma");  // round the two matches

    // F edits the kept line; Backspace on the emptied line shows every song, Gamma kept.
    Step(scene, {'F'});
    Step(scene, {scenetest::kBackspace});
    EXPECT_TRUE(Shows(L"Search\n_"));
    Step(scene, {scenetest::kBackspace});
    EXPECT_FALSE(Shows(L"Search\n"));
    EXPECT_TRUE(Shows(L"3 of 4"));
    EXPECT_EQ(Highlighted(), L"Gamma");
    auto game = Step(scene, {scenetest::kSpace});
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(typeid(*game), typeid(Game));
    EXPECT_EQ(GetMusicChoice().index, 2);  // the music list's position, as always
}

TEST_F(SelectionKeys, OrderAndGroupingAreRememberedForTheNextVisit) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene, {'O'});
    EXPECT_EQ(ReadFile("Selection.cfg"), "Order[title]\nGroup[0]\n");
    EXPECT_EQ(Highlighted(), L"Alpha");  // the highlighted song stays
    Step(scene, {'D'});
    EXPECT_EQ(Highlighted(), L"Beta");
    Step(scene, {'D'});
    EXPECT_EQ(Highlighted(), L"Delta");  // by title
    Step(scene, {'G'});
    EXPECT_TRUE(Shows(L"Pack\nOther"));
    EXPECT_TRUE(Shows(L"Order: title\nby pack"));

    SelectMusic again;
    ASSERT_TRUE(again.Initialize());
    Draw(again);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const TextCall& t) { return t.text == L"Order: title\nby pack"; }));

    // A file that says something else is set aside and the list's order is used.
    WriteFile("Selection.cfg", "Order[sideways]\n");
    ::testing::internal::CaptureStderr();
    SelectMusic third;
    ASSERT_TRUE(third.Initialize());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Selection.cfg:1: unknown order \"sideways\""), std::string::npos) << said;
    EXPECT_EQ(ReadFile("Selection.cfg.damaged"), "Order[sideways]\n");
}

TEST_F(SelectionKeys, EachLevelShowsItsMarkAndPlaysBesideTheBestScore) {
    RecordRun(L"Beta", 0, 100, 0);
    RecordRun(L"Beta", 0, 100, 10000);
    RecordRun(L"Beta", 2, 500, 50000);
    GetMusicChoice() = {1, L"Beta", L"3"};
    ASSERT_TRUE(scene.Initialize());
    Draw(scene);
    std::vector<std::wstring> marks;
    for (const TextCall& t : texts)
        if (t.text.rfind(L"Lv", 0) == 0) marks.push_back(t.text);
    EXPECT_EQ(marks,
              (std::vector<std::wstring>{L"Lv1 \u25CE \u00D72", L"Lv2 -", L"Lv3 \u2605 \u00D71"}));
}

TEST_F(SelectionKeys, DroppedSongsAreImportedAndTheSelectionLandsOnTheFirst) {
    ASSERT_TRUE(scene.Initialize());
    Step(scene, {'F'});
    Type(L"alpha");  // the search is closed when the songs arrive
    testsupport::SimfileSong song;
    song.title = "Dropped Tune";
    song.notes = {{4, 0}, {5, 1}};
    const std::filesystem::path sources = folder / "sources";
    const testsupport::WrittenSong written =
        testsupport::WriteSimfileSong(sources / "My Pack" / "Tune", song);
    WriteFile("sources/notes.txt", "not a song");
    KeyInput::Get().droppedPaths = {(sources / "notes.txt").string(),
                                    (sources / "My Pack").string()};
    KeyInput::Get().dropsSettleAtOnce = true;
    Step(scene);
    EXPECT_TRUE(KeyInput::Get().droppedPaths.empty());
    EXPECT_EQ(Highlighted(), L"Dropped Tune");
    EXPECT_TRUE(Shows(L"Imported 1 song, 1 skipped"));
    EXPECT_TRUE(Shows(L"skipped notes.txt: "));  // why, on screen
    EXPECT_TRUE(Shows(L"imported \"Dropped Tune\""));
    EXPECT_TRUE(Shows(L"5 of 5"));
    EXPECT_FALSE(Shows(L"Search\n"));
    Step(scene, {'G'});
    EXPECT_TRUE(Shows(L"Pack\nMy Pack"));
}

}  // namespace
