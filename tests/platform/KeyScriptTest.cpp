// The headless key script: parsing, errors with their line, and the simulated host's timing.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessHost.h"
#include "platform/headless/KeyScript.h"

using namespace platform;

TEST(KeyScript, CommandsBecomeMessagesBeforeTheirFrames) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(
        ParseKeyScript("# intro\n3 press SPACE\n3 down w  # hold\n4 up W\n"
                       "5 down RSHIFT\n6 focus-lost\n7 shot out.png\n9 quit\n",
                       s, error))
        << error;
    ASSERT_EQ(s.before[3].size(), 2u);
    EXPECT_EQ(s.before[3][0].code, kMsgKeyDown);
    EXPECT_EQ(s.before[3][0].wParam, kVkSpace);
    EXPECT_EQ(s.before[3][1].wParam, uint64_t{'W'});
    ASSERT_EQ(s.before[4].size(), 2u);  // the press's up, then the explicit up
    EXPECT_EQ(s.before[4][0].code, kMsgKeyUp);
    EXPECT_EQ(s.before[4][0].wParam, kVkSpace);
    EXPECT_EQ(s.before[5][0].wParam, kVkShift);
    EXPECT_EQ((s.before[5][0].lParam >> 16) & 0xFF, int64_t{kScanRShift});
    EXPECT_EQ(s.before[6][0].code, kMsgActivateApp);
    EXPECT_EQ(s.shotsAfter[7], std::vector<std::string>{"out.png"});
    EXPECT_EQ(s.quitFrame, 9u);
}

TEST(KeyScript, BadLinesAreNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 press SPACE\n2 jump\n", "line 2: unknown command"},
        {"1 press F1\n", "line 1: unknown key"},
        {"5 press A\n4 press B\n", "line 2: frames must ascend"},
        {"0 press A\n", "line 1: bad frame number"},
        {"x press A\n", "line 1: bad frame number"},
        {"1 press\n", "line 1: missing argument"},
        {"1 quit now\n", "line 1: unexpected argument"},
        {"1 quit\n2 press A\n", "line 2: command after quit"},
        {"1 press A @16\n", "line 1: bad time '@16'"},
        {"1 press A @3.1234\n", "line 1: bad time"},
        {"1 press A @-1\n", "line 1: bad time"},
        {"1 press A @.5\n", "line 1: bad time"},
        {"1 press A @5.\n", "line 1: bad time"},
        {"1 press A 5\n", "line 1: bad time"},
        {"1 press A @2 @3\n", "line 1: unexpected text after the key"},
    };
    for (const auto& [text, expected] : cases) {
        KeyScript s;
        std::string error;
        EXPECT_FALSE(ParseKeyScript(text, s, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
    }
}

TEST(KeyScript, KeyNames) {
    EXPECT_EQ(ScriptKeyCode("a"), 'A');
    EXPECT_EQ(ScriptKeyCode("7"), '7');
    EXPECT_EQ(ScriptKeyCode("BACKSPACE"), 0x08);
    EXPECT_EQ(ScriptKeyCode("ESCAPE"), 0x1B);
    EXPECT_EQ(ScriptKeyCode("0xA2"), 0xA2);
    EXPECT_EQ(ScriptKeyCode("0xFF"), 0xFF);
    EXPECT_EQ(ScriptKeyCode("0x1"), -1);
    EXPECT_EQ(ScriptKeyCode("-"), -1);
}

TEST(HeadlessHost, ScriptWithoutQuitClosesAfterItsLastFrame) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("2 press A\n", s, error));
    EXPECT_EQ(s.quitFrame, 3u);
    HeadlessHost host(std::move(s));
    Message m;
    EXPECT_FALSE(host.PeekMessage(m));  // nothing before frame 1
    host.AfterFrame(1);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.code, kMsgKeyDown);
    host.AfterFrame(2);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.code, kMsgKeyUp);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.code, kMsgClose);
}

TEST(HeadlessHost, ClockJumpsOnlyWhenNothingWaits) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("1 press A\n", s, error));
    HeadlessHost host(std::move(s));
    host.WaitUntil(17);
    EXPECT_EQ(host.Ticks(), 0u);  // a message waits: time stands still
    Message m;
    host.PeekMessage(m);
    host.WaitUntil(17);
    EXPECT_EQ(host.Ticks(), 17u);
}

TEST(KeyScript, TypedTextComesOneCharacterAnUpdateAndDropsBringTheirPaths) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(
        ParseKeyScript("2 type Café 星\n3 press 0x0D\n9 drop songs/My Pack.osz\n", s, error))
        << error;
    const std::wstring typed = L"Café 星";
    for (size_t i = 0; i < typed.size(); ++i) {
        const std::vector<Message>& frame = s.before[2 + i];
        ASSERT_FALSE(frame.empty()) << i;
        EXPECT_EQ(frame[0].code, kMsgChar);
        EXPECT_EQ(frame[0].wParam, static_cast<uint64_t>(typed[i])) << i;
    }
    EXPECT_EQ(s.before[3].back().wParam, 0x0Du);  // the press shares frame 3 with the "a"
    ASSERT_EQ(s.before[9].size(), 1u);
    EXPECT_EQ(s.before[9][0].code, kMsgDropFiles);
    EXPECT_EQ(s.dropped[9], std::vector<std::string>{"songs/My Pack.osz"});

    // The host hands the paths over with the drop's frame.
    HeadlessHost host(std::move(s));
    for (uint64_t frame = 1; frame < 9; ++frame) host.AfterFrame(frame);
    Message m;
    while (host.PeekMessage(m) && m.code != kMsgDropFiles) {
    }
    EXPECT_EQ(m.code, kMsgDropFiles);
    EXPECT_EQ(host.TakeDroppedPaths(), std::vector<std::string>{"songs/My Pack.osz"});
    EXPECT_TRUE(host.TakeDroppedPaths().empty());
}

TEST(KeyScript, TimesWithinAFrameAreMicrosecondsFromItsStart) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(
        ParseKeyScript("2 press A @3.25\n4 down W @15.999\n5 up W @0\n6 press D\n", s, error))
        << error;
    EXPECT_EQ(s.before[2][0].stamp, 3250);
    EXPECT_EQ(s.before[3][0].stamp, 0);  // the press's up comes at the next frame's start
    EXPECT_EQ(s.before[4][0].stamp, 15999);
    EXPECT_EQ(s.before[5][0].stamp, 0);
    EXPECT_EQ(s.before[6][0].stamp, 0);
}

TEST(HeadlessHost, StampsAreClockTimesIntoTheSlotOfTheFrameThatTakesThem) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("1 press A @2.5\n3 press D @7\n", s, error));
    HeadlessHost host(std::move(s));
    Message m;
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.stamp, 2500);  // frame 1's slot begins with the run, at 0 ms
    host.WaitUntil(17);
    host.AfterFrame(1);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.stamp, 17 * 1000);  // the up, at frame 2's slot start: frame 1 ran at 17 ms
    host.WaitUntil(33);
    host.AfterFrame(2);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.stamp, 33 * 1000 + 7000);  // frame 3's slot starts when frame 2 ran, 33 ms
}
