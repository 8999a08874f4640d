// Key bindings: the refusal rule and the names, the "Keys.cfg" file (a damaged one set aside,
// never fatal), and the key screen reached from the configuration menu.
#include <sys/stat.h>

#include "SceneHarness.h"
#include "settings/ConfigS.h"
#include "settings/KeyBindingsFile.h"

namespace {

using scenetest::kBackspace;
using scenetest::kSpace;

constexpr uint32_t kUpArrow = 0x26, kLeftShift = 0xA0, kEscape = 0x1B, kF11 = 0x7A;

struct KeyScreenTest : scenetest::SceneHarness {
    ConfigS scene;

    void SetUp() override {
        SceneHarness::SetUp();
        WriteTexture("Hit.png");
        ASSERT_TRUE(scene.Initialize());
        for (int i = 0; i < 8; ++i) Step(scene, {'D'});  // "Title" to "Keys"
        Step(scene, {kSpace});
    }
    // The question and the refusal, as drawn now.
    std::wstring Asked() { return TextAtTop(150); }
    std::wstring Refusal() { return TextAtTop(210); }
    // The item in the middle of the carousel.
    std::wstring Middle() {
        Draw(scene);
        return texts.at(0).text;
    }
    std::wstring TextAtTop(float top) {
        Draw(scene);
        for (const TextCall& t : texts)
            if (t.rect.top == top) return t.text;
        return L"-";
    }
};

}  // namespace

TEST(KeyBindings, RefusesMenuKeysUnnamedKeysAndKeysInUse) {
    const LaneKeys lanes = kDefaultLaneKeys;
    EXPECT_EQ(BindingRefusal(lanes, 0, kUpArrow), L"");
    EXPECT_EQ(BindingRefusal(lanes, 0, 'W'), L"") << "a slot may keep its own key";
    EXPECT_EQ(BindingRefusal(lanes, 0, 'D'), L"D already plays Red Right");
    EXPECT_EQ(BindingRefusal(lanes, 0, 'L'), L"L already plays Blue Right");
    EXPECT_EQ(BindingRefusal(lanes, 3, kSpace), L"Space confirms: it cannot play a lane");
    EXPECT_EQ(BindingRefusal(lanes, 3, kEscape), L"Escape quits the game: it cannot play a lane");
    EXPECT_EQ(BindingRefusal(lanes, 3, kF11), L"F11 switches the window: it cannot play a lane");
    EXPECT_EQ(BindingRefusal(lanes, 3, kBackspace), L"This key cannot play a lane");
    EXPECT_EQ(BindingRefusal(lanes, 3, 0x10), L"This key cannot play a lane")
        << "the generic Shift code never reaches the game";
    // Every name fits beside a hit marker.
    for (uint32_t code = 1; code < 255; ++code) EXPECT_LE(KeyName(code).size(), 3u) << code;
    EXPECT_EQ(KeyName(0x61), L"N1");
    EXPECT_EQ(KeyName(0x79), L"F10");
}

TEST(KeyBindingsFile, ReadsWritesAndRefusesWhatCannotPlay) {
    LaneKeys lanes = kDefaultLaneKeys;
    lanes[0] = kUpArrow;
    lanes[7] = kLeftShift;
    const std::string text = FormatKeyBindingsText(lanes);
    EXPECT_EQ(text.substr(0, 15), "RedUp[0x26]\nRed");
    LaneKeys read = kDefaultLaneKeys;
    std::string error;
    ASSERT_TRUE(ParseKeyBindingsText(text, &read, &error)) << error;
    EXPECT_EQ(read, lanes);

    read = kDefaultLaneKeys;
    ASSERT_TRUE(ParseKeyBindingsText("Other[1]\nBlueLeft[0xa0]\n", &read, &error)) << error;
    EXPECT_EQ(read[7], kLeftShift) << "unknown names are skipped; others keep their keys";
    EXPECT_EQ(read[0], 0x57u);

    EXPECT_FALSE(ParseKeyBindingsText("RedUp[0x20]\n", &read, &error));
    EXPECT_EQ(error, "1: RedUp is not a key that can play a lane: \"0x20\"");
    EXPECT_FALSE(ParseKeyBindingsText("\nRedUp[87]\n", &read, &error));
    EXPECT_EQ(error, "2: RedUp is not a key that can play a lane: \"87\"");
    EXPECT_FALSE(ParseKeyBindingsText("RedUp[0x44]\n", &read, &error));
    EXPECT_EQ(error, "1: D already plays Red Right");
    EXPECT_EQ(read[7], kLeftShift) << "a refused file changes nothing";
}

TEST_F(KeyScreenTest, EachSlotTakesAKeyRefusesOthersAndBackspaceKeepsOne) {
    EXPECT_EQ(Asked(), L"Red Up\nPress its key  (Backspace keeps W)");
    Step(scene, {'D'});
    EXPECT_EQ(Refusal(), L"D already plays Red Right");
    EXPECT_EQ(Asked(), L"Red Up\nPress its key  (Backspace keeps W)") << "the slot asks again";
    Step(scene, {kSpace});
    EXPECT_EQ(Refusal(), L"Space confirms: it cannot play a lane");
    Step(scene, {kUpArrow});
    EXPECT_EQ(Refusal(), L"-");
    EXPECT_EQ(Asked(), L"Red Right\nPress its key  (Backspace keeps D)");
    Step(scene, {kBackspace});  // Red Right keeps D
    Step(scene, {'W'});         // free again since Red Up moved
    for (int i = 0; i < 4; ++i) Step(scene, {kBackspace});
    EXPECT_EQ(Asked(), L"Blue Left\nPress its key  (Backspace keeps J)");
    EXPECT_EQ(GetKeyBindings().lanes, kDefaultLaneKeys) << "nothing is in force before the end";
    Step(scene, {kLeftShift});
    EXPECT_EQ(Middle(), L"Keys") << "back in the menu on the item";

    const LaneKeys expected = {kUpArrow, 'D', 'W', 'A', 'I', 'L', 'K', kLeftShift};
    EXPECT_EQ(GetKeyBindings().lanes, expected);
    EXPECT_EQ(ReadFile(kKeyBindingsFile), FormatKeyBindingsText(expected));
    struct stat info {};
    ASSERT_EQ(::stat(kKeyBindingsFile, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    LoadKeyBindings();  // what the next start reads
    EXPECT_EQ(GetKeyBindings().lanes, expected);
}

TEST_F(KeyScreenTest, ADamagedFileIsSetAsideAndTheDefaultKeysPlay) {
    WriteFile(kKeyBindingsFile, "RedUp[0x26]\nRedDown[0x26]\n");
    GetKeyBindings().lanes[0] = kUpArrow;
    ::testing::internal::CaptureStderr();
    LoadKeyBindings();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "lyrandel: Keys.cfg:2: \u2191 already plays Red Down; the default keys are used (the "
              "file is kept as Keys.cfg.damaged)\n");
    EXPECT_EQ(GetKeyBindings().lanes, kDefaultLaneKeys);
    EXPECT_EQ(ReadFile("Keys.cfg.damaged"), "RedUp[0x26]\nRedDown[0x26]\n");
    EXPECT_EQ(ReadFile(kKeyBindingsFile), "<missing>");
}
