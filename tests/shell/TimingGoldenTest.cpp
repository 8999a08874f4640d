// Golden screenshots of what the timing adds, taken by the headless program on the demo
// content: the calibration's result, the hit-error bars in play and the result's timing panel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../platform/HeadlessDevice.h"
#include "gameplay/ChartReader.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

// A short chart for the first song whose notes all arrive while it plays.
constexpr const char* kChart =
    "BPM[126]\nSecond[3]\n[RU 0.03]\n[BL 0.045]\n[RD,BU,0.06]\n[RL 0.08]\n[BR 0.095]\n"
    "[RR 0.11]\n[BD 0.125]\n[RU 0.14]\n[BL 0.155]\n[RD 0.17]\n[BU 0.185]\n";

}  // namespace

// The script's lines up to a frame, then quit: no waiting for the result's ticker.
std::string Until(const std::string& script, uint64_t last) {
    std::istringstream lines(script);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (std::stoull(line) <= last) kept += line + "\n";
    return kept + std::to_string(last + 1) + " quit\n";
}

// Decodes the screenshots of a run and compares each with its golden image.
void ExpectScreens(const HeadlessRun& run, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        platform::Image frame;
        std::string error;
        ASSERT_TRUE(platform::DecodePng((run.work / name).string(), &frame, &error)) << error;
        gltest::ExpectGolden(frame, std::string("screens/") + name);
    }
}

TEST(TimingGolden, CalibrationLooksAsRecorded) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    PlayScript s;
    s.Wait(10);
    s.Press("E");
    s.Press("A");  // the last item
    const uint64_t start = s.Press("SPACE") + 2;
    s.At(start, "press SPACE");  // the run's time 0
    const double errors[16] = {12, 8, 15, -20, 10, 9, 30, 11, -170, 14, 10, 7, 13, 12, 9, 11};
    uint64_t last = 0;
    for (int k = 0; k < 16; ++k) {
        const double at = 1000 + 500.0 * k + errors[k];
        const uint64_t update = uint64_t(std::floor(at / 16)) + 1;
        char command[48];
        std::snprintf(command, sizeof command, "press SPACE @%.3f", at - double(update - 1) * 16);
        s.At(start + update, command);
        last = start + update;
    }
    s.Shot(last + 2, (run.work / "calibration.png").string());
    s.Wait(last + 4 - s.nextFrame());
    ASSERT_EQ(run.Play(s.Text()), 0) << run.errors;
    ExpectScreens(run, {"calibration.png"});
}

TEST(TimingGolden, ErrorBarsAndTimingPanelLookAsRecorded) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    std::string title;
    for (const auto& entry : fs::directory_iterator(run.work / "Data/Music"))
        if (entry.is_directory() && fs::exists(entry.path() / "1.nsd") &&
            entry.path().filename().string().rfind("\xE6\x98\x9F", 0) == 0) {  // the first song
            title = entry.path().filename().string();
            std::ofstream(entry.path() / "1.nsd", std::ios::trunc) << kChart;
        }
    ASSERT_FALSE(title.empty());
    // The direct start makes the game's updates the frames; presses off by whole updates.
    ChartContent chart;
    ASSERT_TRUE(ParseChart(kChart, "chart", chart).empty());
    PressPlan plan;
    plan.redOffset = {{0, -8}, {1, 5}, {2, -3}, {3, -12}, {4, 7}, {5, 1}};
    plan.blueOffset = {{0, 2}, {1, -6}, {2, 8}, {3, -15}, {4, 4}};
    PlayScript s;
    s.Play(0, chart, plan);
    s.Shot(333 + 525, (run.work / "play-error-bars.png").string());
    s.Shot(812 + 180 + 60, (run.work / "result-timing.png").string());
    ASSERT_EQ(run.Play(Until(s.Text(), 812 + 180 + 60), "--play '" + title + "'"), 0) << run.errors;
    ExpectScreens(run, {"play-error-bars.png", "result-timing.png"});
}
