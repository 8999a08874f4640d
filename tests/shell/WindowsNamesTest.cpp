// Content whose file names differ from the game's only in letter case (made on a system that
// ignores case): the game plays it, and the check passes with a warning for each such name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gameplay/ChartReader.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

TEST(WindowsNames, GamePlaysAndTheCheckWarnsOfNamesDifferingInCase) {
    const fs::path minimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";
    ChartContent chart;
    ASSERT_TRUE(ReadChartFile((minimal / "Data/Music/Etude/1.nsd").string(), chart).empty());
    HeadlessRun run(minimal);
    const fs::path data = run.work / "Data";
    fs::rename(data / "Texture", data / "texture");
    fs::rename(data / "texture/Etude.png", data / "texture/ETUDE.png");
    fs::rename(data / "Music/Etude/Etude.wav", data / "Music/Etude/etude.WAV");
    fs::rename(data / "Music/Etude/1.nsd", data / "Music/Etude/1.NSD");
    fs::rename(data / "SE/kira2.wav", data / "SE/Kira2.wav");

    const fs::path out = run.work.string() + ".check";
    EXPECT_EQ(run.Run("--check --data '" + run.work.string() + "' >'" + out.string() + "'"), 0)
        << run.errors;
    std::ifstream in(out);
    const std::string report((std::istreambuf_iterator<char>(in)), {});
    fs::remove(out);
    for (const char* line : {
             "Data/Texture/Etude.png: warning: read from Data/texture/ETUDE.png",
             "Data/Texture/Hit.png: warning: read from Data/texture/Hit.png",
             "Data/Music/Etude/Etude.wav: warning: read from Data/Music/Etude/etude.WAV",
             "Data/Music/Etude/1.nsd: warning: read from Data/Music/Etude/1.NSD",
             "Data/SE/kira2.wav: warning: read from Data/SE/Kira2.wav",
         })
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;

    PlayScript script;
    script.SignUpFromTitle("P1", "X9");
    const uint64_t start = script.SelectFromTitle(0, 0);
    script.Play(start, chart);
    script.Wait(20);
    ASSERT_EQ(run.Play(script.Text()), 0) << run.errors;
    EXPECT_EQ(run.Read("Save/P1.svd"), "X9\nEtude[54500][0][0]\n");
    // Every sound was found: the song, the confirmation effect and the rest.
    EXPECT_EQ(run.errors.find("playing nothing"), std::string::npos) << run.errors;
}
