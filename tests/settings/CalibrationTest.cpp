// The calibration screen: reached as the configuration's last item; clicks placed to the
// sample with the offset in force; presses timed within their update against the nearest
// beat; outliers set aside; the median taken or kept; watching only informs.
#include <cmath>
#include <typeinfo>

#include "SceneHarness.h"
#include "settings/Calibration.h"
#include "settings/CalibrationMath.h"
#include "settings/ConfigS.h"
#include "settings/Timing.h"

namespace {

using scenetest::kBackspace;
using scenetest::kSpace;
using Kind = SoundCall::Kind;
const std::wstring kClick = L"タンバリンの音.wav";

struct CalibrationTest : scenetest::SceneHarness {
    Calibration scene;
    int runUpdate = 0;  // updates since Space started the run

    void SetUp() override {
        SceneHarness::SetUp();
        WriteTexture("Hit.png");
        ASSERT_TRUE(scene.Initialize());
    }
    // One update without presses (the key times of the last one are gone).
    void Next(std::initializer_list<uint32_t> keys = {}) {
        KeyTimes::Get().Update();
        Step(scene, keys);
        ++runUpdate;
    }
    // Starts a run.
    void Start() {
        Next({kSpace});
        runUpdate = 0;
        ASSERT_EQ(scene.phase(), Calibration::Phase::kRunning);
    }
    // Presses Space at ms into the run: in the update whose slot holds that moment.
    void PressAt(double ms) {
        const int update = int(std::floor(ms / 16)) + 1;
        while (runUpdate < update - 1) Next();
        KeyTimes& times = KeyTimes::Get();
        times.FrameAt(0);
        times.FrameAt(16);
        times.KeyDown(kSpace, std::llround((ms - (update - 1) * 16) * 1000));
        times.Update();
        Step(scene, {kSpace});
        ++runUpdate;
    }
};

}  // namespace

TEST_F(CalibrationTest, IsTheConfigurationsLastItemAndGoesBackToIt) {
    ConfigS menu;
    ASSERT_TRUE(menu.Initialize());
    Step(menu, {'A'});
    auto next = Step(menu, {kSpace});
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(typeid(*next), typeid(Calibration));
    EXPECT_EQ(CountSounds(Kind::Effect, L"kira2.wav"), 1);
    auto back = Step(scene, {kBackspace});
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(typeid(*back), typeid(ConfigS));
    ASSERT_TRUE(back->Initialize());
    Draw(*back);
    EXPECT_EQ(texts.at(0).text, L"Calibration") << "back on its own item";
}

TEST_F(CalibrationTest, ClicksArePlacedToTheSampleWithTheOffsetInForce) {
    std::vector<std::pair<int, double>> clicks;  // update and start of each click
    auto collect = [&] {
        for (const SoundCall& c : sounds)
            if (c.kind == Kind::Effect && c.name == kClick)
                clicks.push_back({runUpdate, c.startMs});
    };
    Start();
    while (runUpdate < 100) Next(), collect();
    // Beat 0 at 1000 ms: from update 62 (992 ms) after 8 ms; beat 1 at 1500 ms: 93, 12 ms.
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], (std::pair<int, double>{62, -8.0}));
    EXPECT_EQ(clicks[1], (std::pair<int, double>{93, -12.0}));

    GetTiming().choices.globalOffsetMs = 20;  // the player hears 20 ms late: clicks go earlier
    GetTiming().deviceLatencyMs = 3.5;
    Next({kBackspace});
    clicks.clear();
    Start();
    while (runUpdate < 70) Next(), collect();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], (std::pair<int, double>{61, -(976.5 - 976.0)}));
}

TEST_F(CalibrationTest, TheMedianOfThePressesNearTheBeatIsTakenOrKept) {
    GetTiming().choices.globalOffsetMs = -5;
    Start();
    // Sixteen presses: 14 near their beats, two further off than 150 ms (set aside; a press is
    // at most 250 ms from its nearest beat), times finer than 16 ms.
    const double errors[16] = {10.25, 12, 8, 11, 9, 10.5, 13, 7, -200, 10, 11, 180, 12, 9, 10, 11};
    for (int k = 0; k < 16; ++k) PressAt(1000 + 500.0 * k + errors[k]);
    ASSERT_EQ(scene.phase(), Calibration::Phase::kDone);
    ASSERT_EQ(scene.errors().size(), 16u);
    EXPECT_NEAR(scene.errors()[0], 10.25, 1e-6);
    EXPECT_NEAR(scene.errors()[8], -200, 1e-6);
    EXPECT_EQ(scene.result().kept, 14u);
    EXPECT_EQ(scene.result().discarded, 2u);
    EXPECT_DOUBLE_EQ(scene.result().medianMs, 10.375);  // between 10.25 and 10.5
    ASSERT_TRUE(scene.Offers());
    EXPECT_EQ(scene.OfferedOffsetMs(), -5 + 10);
    Next({kBackspace});  // keeps the old one
    EXPECT_EQ(GlobalOffsetMs(), -5);
    EXPECT_EQ(scene.phase(), Calibration::Phase::kIntro);

    Start();
    for (int k = 0; k < 16; ++k) PressAt(1000 + 500.0 * k + errors[k]);
    Next({kSpace});  // takes it
    EXPECT_EQ(GlobalOffsetMs(), 5);
    EXPECT_EQ(ReadFile("Timing.cfg"), "GlobalOffset[5]\nDeviceLatency[1]\nErrorBar[1]\n");
}

TEST_F(CalibrationTest, WatchingFlashesWithoutClicksAndOnlyInforms) {
    GetTiming().runOffsetMs = 40;  // --offset of this run: the flashes ignore it
    Next({'D'});
    EXPECT_EQ(scene.mode(), Calibration::Mode::kWatch);
    Start();
    int clicks = 0;
    std::vector<int> flashes;
    for (int k = 0; k < 16; ++k) {
        PressAt(1000 + 500.0 * k + 30);
        clicks += CountSounds(Kind::Effect, kClick);
    }
    while (runUpdate < 63) Next();
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(scene.phase(), Calibration::Phase::kDone);
    EXPECT_DOUBLE_EQ(scene.result().medianMs, 30.0);
    EXPECT_FALSE(scene.Offers());
    Next({kSpace});
    EXPECT_EQ(GlobalOffsetMs(), 40) << "watching sets nothing";
    EXPECT_EQ(ReadFile("Timing.cfg"), "<missing>");
}

TEST_F(CalibrationTest, TheFlashShowsFromTheUpdateNearestItsBeat) {
    Next({'D'});
    Start();
    auto flashAlpha = [&] {
        Draw(scene);
        for (const SpriteCall& s : sprites)
            if (s.name == L"HitArea") return s.alpha;
        return 0;
    };
    while (runUpdate < 62) Next();
    EXPECT_EQ(flashAlpha(), 0);
    Next();  // update 63 is 1008 ms, nearest the beat at 1000 ms (62.5 rounds up)
    EXPECT_EQ(flashAlpha(), 255);
    for (int i = 0; i < 6; ++i) Next();
    EXPECT_EQ(flashAlpha(), 0);
}

TEST(CalibrationMath, NearestBeatsMedianAndSpread) {
    const std::vector<double> beats = {1000, 1500, 2000};
    EXPECT_DOUBLE_EQ(NearestBeatError(beats, 900), -100);
    EXPECT_DOUBLE_EQ(NearestBeatError(beats, 1249), 249);
    EXPECT_DOUBLE_EQ(NearestBeatError(beats, 1251), -249);
    EXPECT_DOUBLE_EQ(NearestBeatError(beats, 1250), 250);  // half-way: the earlier beat
    EXPECT_DOUBLE_EQ(NearestBeatError(beats, 2600), 600);
    EXPECT_DOUBLE_EQ(NearestBeatError({}, 5), 0);
    CalibrationResult r = SumUp({150, -150, 150.5, 3});
    EXPECT_EQ(r.kept, 3u);  // 150 ms off still counts
    EXPECT_EQ(r.discarded, 1u);
    EXPECT_DOUBLE_EQ(r.medianMs, 3);
    EXPECT_NEAR(r.spreadMs, std::sqrt((149.0 * 149 + 151.0 * 151 + 2.0 * 2) / 3), 1e-9);
    r = SumUp({400, -300});
    EXPECT_EQ(r.kept, 0u);
    EXPECT_DOUBLE_EQ(r.medianMs, 0);
}
