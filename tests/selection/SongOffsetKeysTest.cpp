// A song's own offset in the selection: "-" and "=" (and the keypad's - and +) move it by
// 5 ms within -300 to 300, it is kept in the player's folder at once, and shown beside the
// level only while it is not 0.
#include "../settings/SceneHarness.h"
#include "selection/SelectMusic.h"
#include "selection/SongOffsetKeys.h"
#include "settings/Timing.h"

namespace {

constexpr uint32_t kMinus = 0xBD, kEquals = 0xBB, kPadMinus = 0x6D, kPadPlus = 0x6B;

struct SongOffsetKeys : scenetest::SceneHarness {
    SelectMusic scene;
    void SetUp() override {
        SceneHarness::SetUp();
        WriteFile("Data/Music/0.nld", "Alpha[1:2:3]Ann\nBeta[4:5:6]Bob\n");
        for (const char* texture : {"SelectMusic.png", "Alpha.png", "Beta.png"})
            WriteTexture(texture);
        ASSERT_TRUE(scene.Initialize());
    }
    // The offset text drawn beside the level, or "-".
    std::wstring Shown() {
        Draw(scene);
        for (const TextCall& t : texts)
            if (t.text.rfind(L"offset ", 0) == 0) return t.text;
        return L"-";
    }
};

}  // namespace

TEST_F(SongOffsetKeys, KeysMoveTheHighlightedSongsOffsetKeptAndShown) {
    EXPECT_EQ(Shown(), L"-");  // 0: nothing beside the level
    Step(scene, {kEquals});
    Step(scene, {kPadPlus});
    Step(scene, {kEquals});
    Step(scene, {kMinus});
    EXPECT_EQ(SongOffsetMs(L"Alpha"), 10);
    EXPECT_EQ(Shown(), L"offset +10 ms");
    EXPECT_EQ(ReadFile("SongOffsets.txt"), "10\tAlpha\n");
    Step(scene, {kMinus, kEquals});  // together: no change
    EXPECT_EQ(SongOffsetMs(L"Alpha"), 10);
    Step(scene, {'D'});  // the next song has its own, 0
    EXPECT_EQ(Shown(), L"-");
    Step(scene, {kPadMinus});
    EXPECT_EQ(Shown(), L"offset -5 ms");
    EXPECT_EQ(ReadFile("SongOffsets.txt"), "10\tAlpha\n-5\tBeta\n");
    Step(scene, {kEquals});  // back to 0: its line goes
    EXPECT_EQ(ReadFile("SongOffsets.txt"), "10\tAlpha\n");
}

TEST_F(SongOffsetKeys, TheOffsetStopsAtItsBounds) {
    GetTiming().songOffsets[L"Alpha"] = 295;
    Step(scene, {kEquals});
    Step(scene, {kEquals});
    EXPECT_EQ(SongOffsetMs(L"Alpha"), 300);
    GetTiming().songOffsets[L"Alpha"] = -295;
    Step(scene, {kPadMinus});
    Step(scene, {kPadMinus});
    EXPECT_EQ(SongOffsetMs(L"Alpha"), -300);
    EXPECT_EQ(Shown(), L"offset -300 ms");
}
