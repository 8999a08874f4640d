// The frame loop: the order of a frame's steps, scene hand-over, occlusion, message handling.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "media/Keyboard.h"
#include "services/KeyInput.h"
#include "shell/FrameLoop.h"

namespace {

using Log = std::vector<std::string>;

// Records each service step of a frame; occlusion answers are scripted.
struct RecordingSteps : FrameSteps {
    Log& log;
    std::deque<bool> presentOccluded, testOccluded;
    explicit RecordingSteps(Log& l) : log(l) {}
    void UpdateAudio() override { log.push_back("audio"); }
    void UpdateKeys() override { log.push_back("keys"); }
    void Clear() override { log.push_back("clear"); }
    void BeginSprites() override { log.push_back("begin-sprites"); }
    void EndSprites() override { log.push_back("end-sprites"); }
    void BeginTexts() override { log.push_back("begin-texts"); }
    void EndTexts() override { log.push_back("end-texts"); }
    bool Present() override { return log.push_back("present"), Pop(presentOccluded); }
    bool PresentTest() override { return log.push_back("present-test"), Pop(testOccluded); }
    static bool Pop(std::deque<bool>& q) {
        if (q.empty()) return false;
        bool v = q.front();
        q.pop_front();
        return v;
    }
};

// A scene that logs its calls under a name and may hand over or fail to initialise.
struct LoggingScene : Scene {
    Log& log;
    std::string name;
    bool initOk = true;
    Scene* next = nullptr;
    LoggingScene(Log& l, std::string n) : log(l), name(std::move(n)) {}
    ~LoggingScene() override { delete next; }
    bool Initialize() override { return log.push_back(name + ".init"), initOk; }
    Scene* Update() override {
        log.push_back(name + ".update");
        Scene* s = next;
        next = nullptr;
        return s;
    }
    void DrawSprites() override { log.push_back(name + ".sprites"); }
    void DrawTexts() override { log.push_back(name + ".texts"); }
};

// A host with a manual clock and queue; waiting jumps the clock to the deadline.
struct FakeHost : platform::Host {
    std::deque<platform::Message> queue;
    uint32_t now = 100;
    uint64_t frames = 0;
    uint64_t quitAfter = 3;
    bool PeekMessage(platform::Message& out) override {
        if (queue.empty()) return false;
        out = queue.front();
        queue.pop_front();
        return true;
    }
    void PostMessage(const platform::Message& m) override { queue.push_back(m); }
    uint32_t Ticks() override { return now; }
    void WaitUntil(uint32_t deadline) override { now = deadline; }
    void ShowWindow() override {}
    void AfterFrame(uint64_t frame) override {
        frames = frame;
        if (frame == quitAfter) queue.push_back({platform::kMsgClose, 0, 0});
    }
};

}  // namespace

TEST(FrameLoop, StepsRunInOrderAndHandOverDrawsTheNewSceneAtOnce) {
    Log log;
    RecordingSteps steps(log);
    FakeHost host;
    auto* first = new LoggingScene(log, "a");
    first->next = new LoggingScene(log, "b");
    FrameLoop loop(host, steps, std::unique_ptr<Scene>(first));
    ASSERT_TRUE(loop.RunFrame());
    ASSERT_TRUE(loop.RunFrame());
    const Log expected = {
        "audio",       "keys",        "a.update",    "b.init",    "clear",         "begin-sprites",
        "b.sprites",   "end-sprites", "begin-texts", "b.texts",   "end-texts",     "present",
        "audio",       "keys",        "b.update",    "clear",     "begin-sprites", "b.sprites",
        "end-sprites", "begin-texts", "b.texts",     "end-texts", "present"};
    EXPECT_EQ(log, expected);
}

TEST(FrameLoop, FailedHandOverEndsWithoutDrawing) {
    Log log;
    RecordingSteps steps(log);
    FakeHost host;
    auto* first = new LoggingScene(log, "a");
    auto* second = new LoggingScene(log, "b");
    second->initOk = false;
    first->next = second;
    FrameLoop loop(host, steps, std::unique_ptr<Scene>(first));
    EXPECT_EQ(loop.Run(), FrameLoop::Outcome::SceneFailed);
    const Log expected = {"audio", "keys", "a.update", "b.init"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(host.frames, 0u);
}

TEST(FrameLoop, OccludedWindowStandsStillUntilVisible) {
    Log log;
    RecordingSteps steps(log);
    FakeHost host;
    steps.presentOccluded = {true};
    steps.testOccluded = {true, true, false};
    FrameLoop loop(host, steps, std::make_unique<LoggingScene>(log, "a"));
    loop.RunFrame();
    log.clear();
    loop.RunFrame();
    loop.RunFrame();
    EXPECT_EQ(log, (Log{"present-test", "present-test"}));
    EXPECT_TRUE(loop.occluded());
    log.clear();
    loop.RunFrame();
    EXPECT_EQ(log.front(), "present-test");
    EXPECT_EQ(log[1], "audio");
    EXPECT_FALSE(loop.occluded());
}

TEST(FrameLoop, RunDrainsMessagesFirstAndPacesFrames) {
    Log log;
    RecordingSteps steps(log);
    FakeHost host;
    host.quitAfter = 2;
    KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
    // Several messages wait before the first frame: all are handled before it runs.
    host.queue.push_back({platform::kMsgKeyDown, 'W', 0});
    host.queue.push_back({platform::kMsgKeyDown, 'J', 0});
    FrameLoop loop(host, steps, std::make_unique<LoggingScene>(log, "a"));
    const uint32_t start = host.now;
    EXPECT_EQ(loop.Run(), FrameLoop::Outcome::Quit);
    EXPECT_EQ(loop.framesRun(), 2u);
    // First frame at 117 (17 ms after the start), the next 1 ms into the following slot.
    EXPECT_EQ(host.now - start, 29u);
    EXPECT_TRUE(KeyInput::Get().keyboard->GetState().IsKeyDown('W'));
    EXPECT_TRUE(KeyInput::Get().keyboard->GetState().IsKeyDown('J'));
    KeyInput::Get().keyboard.reset();
}

TEST(FrameLoop, EscapeClosesTheWindow) {
    Log log;
    RecordingSteps steps(log);
    FakeHost host;
    host.quitAfter = 1000;
    host.queue.push_back({platform::kMsgKeyDown, platform::kVkEscape, 0});
    FrameLoop loop(host, steps, std::make_unique<LoggingScene>(log, "a"));
    EXPECT_EQ(loop.Run(), FrameLoop::Outcome::Quit);
    EXPECT_EQ(loop.framesRun(), 0u);
}
