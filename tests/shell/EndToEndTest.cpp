// Whole plays through the headless program: sign-up, selection, a chart played by script,
// the result, and the save file that must hold the run's score.
#include <gtest/gtest.h>

#include <filesystem>

#include "gameplay/ChartReader.h"
#include "platform/Codepage.h"
#include "selection/MusicList.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// The test chart of the minimal content, as the game reads it.
ChartContent EtudeChart() {
    ChartContent chart;
    EXPECT_TRUE(ReadChartFile((kMinimal / "Data/Music/Etude/1.nsd").string(), chart).empty());
    return chart;
}

// The music list of the demo content, read by the game's reader from inside the folder.
std::vector<MusicEntry> DemoSongs(const fs::path& content) {
    const fs::path back = fs::current_path();
    fs::current_path(content);
    std::vector<MusicEntry> entries;
    std::string error;
    const bool ok = ReadMusicList(entries, error, [](const std::wstring&) { return true; });
    fs::current_path(back);
    EXPECT_TRUE(ok) << error;
    return entries;
}

}  // namespace

TEST(EndToEnd, PerfectPlayIsSavedToTheNewAccount) {
    const ChartContent chart = EtudeChart();
    ASSERT_EQ(chart.redNotes.size() + chart.blueNotes.size(), 9u);
    PlayScript script;
    script.SignUpFromTitle("P1", "X9");
    const uint64_t start = script.SelectFromTitle(0, 0);
    EXPECT_EQ(script.Play(start, chart), 9u);
    script.Wait(20);
    HeadlessRun run(kMinimal);
    ASSERT_EQ(run.Play(script.Text()), 0) << run.errors;
    EXPECT_EQ(run.Read("Save/P1.svd"), "X9\nEtude[54500][0][0]\n");
    EXPECT_EQ(run.Read("Config.cfg").rfind("Volume[1.000000]\n", 0), 0u);
}

TEST(EndToEnd, GreatBadAndMissScoreAsTheTableSays) {
    const ChartContent chart = EtudeChart();
    PlayScript script;
    script.SignUpFromTitle("P2", "Y");
    const uint64_t start = script.SelectFromTitle(0, 0);
    PressPlan plan;
    plan.redOffset[1] = 5;     // 5 updates late: Great (300)
    plan.blueOffset[2] = -15;  // 15 updates early: Bad (0)
    plan.redSkip = {3};        // never pressed: Miss
    EXPECT_EQ(script.Play(start, chart, plan), 8u);
    HeadlessRun run(kMinimal);
    ASSERT_EQ(run.Play(script.Text()), 0) << run.errors;
    // Six Perfect and one Great; no bonus, since the chain broke.
    EXPECT_EQ(run.Read("Save/P2.svd"), "Y\nEtude[3300][0][0]\n");
    EXPECT_EQ(run.output,
              "result: Etude level 1: score 3300, max combo 5, Perfect 6, Great 1, OK 0, Bad 1, "
              "Miss 1\n");
}

// One perfect play per song, so the songs run side by side under ctest.
class DemoPerfectPlay : public ::testing::TestWithParam<int> {};

TEST_P(DemoPerfectPlay, FirstLevelEndsAllPerfect) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    const std::vector<MusicEntry> songs = DemoSongs(DemoContentDir());
    const int index = GetParam();
    ASSERT_LT(index, static_cast<int>(songs.size()));
    const std::wstring& title = songs[index].title;
    ChartContent chart;
    const fs::path chartPath =
        DemoContentDir() / "Data/Music" / platform::WideToUtf8(title) / "1.nsd";
    ASSERT_TRUE(ReadChartFile(chartPath.string(), chart).empty());
    const size_t notes = chart.redNotes.size() + chart.blueNotes.size();
    ASSERT_GT(notes, 0u);

    PlayScript script;
    script.SignUpFromTitle("DEMO", "1");
    const uint64_t start = script.SelectFromTitle(index, 0);
    EXPECT_EQ(script.Play(start, chart), notes);
    HeadlessRun run(DemoContentDir());
    ASSERT_EQ(run.Play(script.Text()), 0) << run.errors;
    const auto save = platform::Cp932ToWide(run.Read("Save/DEMO.svd"));
    ASSERT_TRUE(save.has_value());
    const std::wstring expected =
        L"1\n" + title + L"[" + std::to_wstring(500 * notes + 50000) + L"][0][0]\n";
    EXPECT_EQ(*save, expected);
}

INSTANTIATE_TEST_SUITE_P(EverySong, DemoPerfectPlay, ::testing::Values(0, 1, 2));
