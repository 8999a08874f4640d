// Golden screens of this feature, taken by the headless program on the demo content: the key
// screen with a refused key, and a replay watched (V on the selection) with its mark; the
// same run watched again with R from its result screen ends as the played one did.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../platform/HeadlessDevice.h"
#include "gameplay/ChartReader.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

// A short chart for the first song whose notes all reach the line (in updates 416 to 678), so
// a run ends after a few seconds.
constexpr const char* kChart =
    "BPM[120]\nSecond[2]\n[RU 0.05]\n[BR 0.06]\n[RL,BD,0.08]\n[BU 0.1]\n[RR 0.12]\n[BL 0.14]\n";

struct Screen {
    const char* name;
    uint64_t frame;
};

}  // namespace

TEST(ReplayGolden, KeyScreenAndAWatchedReplayLookAsRecorded) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    fs::path chartFile;
    for (const auto& entry : fs::directory_iterator(run.work / "Data/Music"))
        if (entry.is_directory() && entry.path().filename().string().rfind("\xE6\x98\x9F", 0) == 0)
            chartFile = entry.path() / "1.nsd";  // the first song
    ASSERT_FALSE(chartFile.empty());
    std::ofstream(chartFile, std::ios::trunc) << kChart;
    ChartContent chart;
    ASSERT_TRUE(ReadChartFile(chartFile.string(), chart).empty());

    PlayScript s;
    s.Wait(40);
    s.Press("E");
    for (int i = 0; i < 8; ++i) s.Press("D");  // "Title" to "Keys"
    s.Press("SPACE");
    s.Press("D");  // refused: it plays Red Right
    s.Wait(4);
    const uint64_t keys = s.nextFrame() - 1;
    for (int i = 0; i < 8; ++i) s.Press("BACKSPACE");  // every slot keeps its key
    s.Press("D");                                      // "Keys" to "Calibration"
    s.Press("D");                                      // and on to "Title"
    s.Press("SPACE");
    const uint64_t played = s.SelectFromTitle(0, 0);
    s.Play(played, chart);  // all Perfect; Space goes back to the selection
    s.Wait(30);
    const uint64_t watched = s.Press("V");
    const uint64_t result = watched + 812 + 120 + 520;
    s.Wait(result - s.nextFrame() + 2);
    const uint64_t again = s.Press("R");
    s.Wait(812 + 120 + 520);
    const std::vector<Screen> screens = {
        {"config-keys.png", keys},
        {"replay-watch.png", watched + 420},
        {"replay-result.png", result},
    };
    for (const Screen& screen : screens) s.Shot(screen.frame, (run.work / screen.name).string());
    ASSERT_EQ(run.Play(s.Text()), 0) << run.errors;
    (void)again;

    const std::string line =
        "result: \xE6\x98\x9F\xE3\x81\xAE\xE3\x81\x8B\xE3\x81\x91\xE3\x82\x89"
        " level 1: score 53500, max combo 7, Perfect 7, Great 0, OK 0, Bad 0, "
        "Miss 0\n";
    EXPECT_EQ(run.output, line + line + line) << "played, watched with V, watched again with R";
    EXPECT_EQ(std::distance(fs::directory_iterator(run.work / "Replays/guest"), {}), 1)
        << "watching records nothing";
    for (const Screen& screen : screens)
        gltest::ExpectGoldenFile((run.work / screen.name).string(),
                                 std::string("screens/") + screen.name);
}
