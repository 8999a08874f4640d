// Keyboard, edge tracker and typed characters: the frame-by-frame key contract.
#include <gtest/gtest.h>

#include <stdexcept>

#include "media/Keyboard.h"
#include "platform/Messages.h"
#include "services/KeyInput.h"

using DirectX::Keyboard;
using namespace platform;

namespace {

// Sends a key message with an optional scan code and extended flag.
void Key(uint32_t msg, uint32_t vk, uint32_t scan = 0, bool extended = false) {
    int64_t lParam = static_cast<int64_t>(scan) << 16;
    if (extended) lParam |= kExtendedKeyBit;
    Keyboard::HandleMessage(msg, vk, lParam);
}

// A KeyInput of its own per test, wired to a fresh keyboard.
struct KeyboardTest : ::testing::Test {
    KeyInput input;
    void SetUp() override { input.keyboard = std::make_unique<Keyboard>(); }
    void Frame() { input.Update(); }
};

}  // namespace

TEST_F(KeyboardTest, SecondKeyboardIsRefusedUntilTheFirstIsGone) {
    try {
        Keyboard second;
        FAIL() << "a second keyboard was created";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Keyboard is a singleton");
    }
    input.keyboard.reset();
    Key(kMsgKeyDown, 'A');  // dropped: no keyboard
    EXPECT_NO_THROW(input.keyboard = std::make_unique<Keyboard>());
    EXPECT_FALSE(input.keyboard->GetState().IsKeyDown('A'));
}

TEST_F(KeyboardTest, HeldKeyIsPressedOnlyInItsFirstFrame) {
    Key(kMsgKeyDown, 'W');
    Frame();
    EXPECT_TRUE(input.IsKeyPressed('W'));
    for (int i = 0; i < 9; ++i) {
        Key(kMsgKeyDown, 'W');  // auto-repeat
        Frame();
        EXPECT_FALSE(input.IsKeyPressed('W'));
    }
    Key(kMsgKeyUp, 'W');
    Frame();
    EXPECT_TRUE(input.tracker.IsKeyReleased('W'));
}

TEST_F(KeyboardTest, DownAndUpBetweenFramesIsNeverPressed) {
    Key(kMsgKeyDown, 'J');
    Key(kMsgKeyUp, 'J');
    Frame();
    EXPECT_FALSE(input.IsKeyPressed('J'));
    EXPECT_FALSE(input.tracker.IsKeyReleased('J'));
}

TEST_F(KeyboardTest, FocusChangeReleasesHeldKeysAndRepressCounts) {
    Key(kMsgKeyDown, 'D');
    Frame();
    Keyboard::HandleMessage(kMsgActivateApp, 0, 0);
    Frame();
    EXPECT_FALSE(input.state.IsKeyDown('D'));
    Key(kMsgKeyDown, 'D');
    Frame();
    EXPECT_TRUE(input.IsKeyPressed('D'));
}

TEST_F(KeyboardTest, ShiftReleaseClearsBothShiftCodes) {
    Key(kMsgKeyDown, kVkShift, kScanLShift);
    Key(kMsgKeyDown, kVkShift, kScanRShift);
    Frame();
    EXPECT_TRUE(input.state.IsKeyDown(kVkLShift));
    EXPECT_TRUE(input.state.IsKeyDown(kVkRShift));
    EXPECT_FALSE(input.state.IsKeyDown(kVkShift));
    Key(kMsgKeyUp, kVkShift, kScanRShift);
    Frame();
    EXPECT_FALSE(input.state.IsKeyDown(kVkLShift));
    EXPECT_FALSE(input.state.IsKeyDown(kVkRShift));
}

TEST_F(KeyboardTest, ControlAndAltSplitOnTheExtendedBit) {
    Key(kMsgKeyDown, kVkControl, 0, true);
    Key(kMsgSysKeyDown, kVkMenu, 0, false);
    Frame();
    EXPECT_TRUE(input.state.IsKeyDown(kVkRControl));
    EXPECT_FALSE(input.state.IsKeyDown(kVkLControl));
    EXPECT_TRUE(input.state.IsKeyDown(kVkLMenu));
    EXPECT_FALSE(input.state.IsKeyDown(kVkControl));
}

TEST_F(KeyboardTest, CodesOf255AndAboveChangeNothing) {
    Key(kMsgKeyDown, 255);
    Key(kMsgKeyDown, 0x1FF);
    Frame();
    for (uint32_t w : input.state.words) EXPECT_EQ(w, 0u);
    EXPECT_FALSE(input.state.IsKeyDown(255));
}

TEST_F(KeyboardTest, TypedCharIsTheHighestLetterOrDigitPressed) {
    Frame();
    EXPECT_EQ(input.GetTypedChar(), L"");
    Key(kMsgKeyDown, 'A');
    Key(kMsgKeyDown, 'Z');
    Frame();
    EXPECT_EQ(input.GetTypedChar(), L"Z");
    Key(kMsgKeyDown, kVkSpace);
    Key(kMsgKeyDown, kVkBack);
    Frame();
    EXPECT_EQ(input.GetTypedChar(), L"");
    Key(kMsgKeyDown, '7');
    Frame();
    EXPECT_EQ(input.GetTypedChar(), L"7");
}
