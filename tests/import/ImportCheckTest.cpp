// The content check on songs the importer wrote into a copy of the demo content: every chart,
// jacket, compressed song file and list entry must pass as the game reads them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/HeadlessRun.h"
#include "support/ImportSongWriter.h"

namespace fs = std::filesystem;
using namespace testsupport;

TEST(ImportCheck, ImportedSongsPassTheContentCheck) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content in this build";
    HeadlessRun run(DemoContentDir());
    const fs::path sources = run.work.string() + "-sources";
    SimfileSong ogg;
    ogg.title = "Checked Ogg";
    ogg.notes = {{1, 0}, {2, 5}, {3, 2}, {4, 7}};
    WriteSimfileSong(sources / "ogg", ogg);
    SimfileSong mp3 = ogg;
    mp3.title = "Checked Mp3";
    mp3.audio = AudioKind::kMp3;
    WriteSimfileSong(sources / "mp3", mp3);
    BeatmapSet set;
    set.audio = AudioKind::kFlac;
    set.difficulties = {{"One", {{800, 1}, {1600, 6}}}, {"Two", {{800, 1}, {1000, 3}, {1600, 6}}}};
    WriteBeatmapArchive(sources / "set.osz", set);

    const std::string data = " --data '" + run.work.string() + "'";
    ASSERT_EQ(run.Run("--import '" + sources.string() + "'" + data + " >/dev/null"), 0)
        << run.errors;
    const fs::path out = run.work.string() + ".check";
    const int status = run.Run("--check" + data + " >'" + out.string() + "'");
    const std::string report = ReadBytes(out);
    fs::remove(out);
    fs::remove_all(sources);
    EXPECT_EQ(status, 0) << report << run.errors;
}
