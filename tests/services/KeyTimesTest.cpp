// Key-down times: a key's time within its update from its message's stamp, through the frame
// loop on the headless clock, and the rules of the record itself.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <optional>

#include "platform/headless/HeadlessHost.h"
#include "replay/ReplayPlayback.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"
#include "shell/FrameLoop.h"

namespace {

// The game's key step alone; nothing is drawn.
struct KeySteps : FrameSteps {
    void UpdateAudio() override {}
    void UpdateKeys() override {
        KeyInput::Get().Update();
        KeyTimes::Get().Update();
    }
    void Clear() override {}
    void BeginSprites() override {}
    void EndSprites() override {}
    void BeginTexts() override {}
    void EndTexts() override {}
    bool Present() override { return false; }
    bool PresentTest() override { return false; }
};

// Records, per update, the time of each key pressed in it.
struct TimingScene : Scene {
    std::map<int, std::map<uint32_t, double>>& seen;
    int update = 0;
    explicit TimingScene(std::map<int, std::map<uint32_t, double>>& s) : seen(s) {}
    bool Initialize() override { return true; }
    Scene* Update() override {
        ++update;
        for (uint32_t key : {'A', 'D', 'S'})
            if (KeyInput::Get().IsKeyPressed(key))
                seen[update][key] = KeyTimes::Get().MsIntoUpdate(key);
        return nullptr;
    }
    void DrawSprites() override {}
    void DrawTexts() override {}
};

class KeyTimesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KeyTimes::Get().Reset();
        KeyInput::Get().tracker.Reset();
        KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
    }
    void TearDown() override {
        KeyInput::Get().keyboard.reset();
        KeyInput::Get().tracker.Reset();
        KeyTimes::Get().Reset();
    }
};

}  // namespace

TEST_F(KeyTimesTest, ScriptedPressesArriveWithTheirTimeInTheirUpdate) {
    platform::KeyScript script;
    std::string error;
    ASSERT_TRUE(platform::ParseKeyScript("5 press A @3.25\n7 press D\n9 press S @15.999\n11 quit\n",
                                         script, error));
    platform::HeadlessHost host(std::move(script));
    KeySteps steps;
    std::map<int, std::map<uint32_t, double>> seen;
    FrameLoop loop(host, steps, std::make_unique<TimingScene>(seen));
    ASSERT_EQ(loop.Run(), FrameLoop::Outcome::Quit);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_DOUBLE_EQ(seen[5]['A'], 3.25);
    EXPECT_DOUBLE_EQ(seen[7]['D'], 0.0);
    EXPECT_DOUBLE_EQ(seen[9]['S'], 15.999);
}

TEST_F(KeyTimesTest, TimesAreTakenFromTheSlotStartAcrossTheClockWrap) {
    KeyTimes& times = KeyTimes::Get();
    const uint32_t previous = std::numeric_limits<uint32_t>::max() - 10;
    times.FrameAt(previous);  // the frame before: the slot starts here
    times.KeyDown('A', int64_t{std::numeric_limits<uint32_t>::max() - 2} * 1000 + 500);
    times.KeyDown('D', int64_t{3} * 1000);        // after the 32-bit clock wrapped
    times.KeyDown('A', int64_t{4} * 1000 + 250);  // a second down of A: the latest counts
    times.KeyDown('S', platform::kNoStamp);
    times.KeyDown(0x1FF, int64_t{5} * 1000);  // no such key
    times.FrameAt(5);
    times.Update();
    EXPECT_DOUBLE_EQ(times.MsIntoUpdate('A'), 15.25);
    EXPECT_DOUBLE_EQ(times.MsIntoUpdate('D'), 14.0);
    EXPECT_DOUBLE_EQ(times.MsIntoUpdate('S'), 0.0);  // no time known: the slot's start
    ASSERT_EQ(times.Downs().size(), 4u);
    EXPECT_DOUBLE_EQ(times.Downs()[0].ms, 8.5);
    times.Update();  // the next update has no downs
    EXPECT_TRUE(times.Downs().empty());
    EXPECT_DOUBLE_EQ(times.MsIntoUpdate('A'), 0.0);
}

TEST_F(KeyTimesTest, AReplaysTimedPressesReachTheUpdateThatSeesThem) {
    auto replay = std::make_shared<Replay>();
    replay->events = {{2, 'W', true, 7.5f},
                      {3, 'W', false, std::nullopt},
                      {3, 'D', true, 0.25f},
                      {4, 'D', false, std::nullopt},
                      {4, 'W', true, std::nullopt}};
    ReplayPlayback playback(replay, kDefaultLaneKeys);
    KeyInput& keys = KeyInput::Get();
    keys.feed = &playback;
    std::map<int, std::optional<double>> w, d;
    for (int update = 1; update <= 4; ++update) {
        keys.Update();
        KeyTimes::Get().Update();
        w[update] = KeyTimes::Get().DownIn('W');
        d[update] = KeyTimes::Get().DownIn('D');
    }
    keys.feed = nullptr;
    EXPECT_FALSE(w[1]);
    EXPECT_EQ(w[2], 7.5);
    EXPECT_FALSE(w[3]) << "a key held on is no new press";
    EXPECT_EQ(d[3], 0.25);
    EXPECT_FALSE(w[4]) << "a press recorded without a time gives none";

    // A lane bound to a left or right modifier finds the time its generic code was given.
    KeyTimes::Get().KeyDownInto(0xA0, 3.0);
    KeyTimes::Get().Update();
    EXPECT_EQ(KeyTimes::Get().MsIntoUpdate(0xA0), 3.0);
    EXPECT_EQ(KeyTimes::Get().MsIntoUpdate(0x10), 3.0);
}
