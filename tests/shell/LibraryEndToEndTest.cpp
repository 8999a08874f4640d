// The library through the headless program: a song folder dropped on the window imported
// before the next frame and played from the selection it lands on; and golden screens of the
// selection's search (matches, no match), its grouping with the pack's name, and the marks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../platform/HeadlessDevice.h"
#include "support/HeadlessRun.h"
#include "support/ImportSongWriter.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// Writes text to a file of the run's folder.
void WriteInto(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(LibraryEndToEnd, ASongFolderDroppedOnTheTitleIsImportedAndPlayedWhereTheSelectionLands) {
    HeadlessRun run(kMinimal);
    testsupport::SimfileSong song;
    song.title = "Dropped Tune";
    song.notes = {{4, 0}, {6, 1}};
    song.audioSeconds = 3.0;
    const fs::path pack = run.work.string() + ".sources/Night Pack";
    testsupport::WriteSimfileSong(pack / "Tune", song);
    PlayScript s;
    s.Wait(3);
    s.Drop(pack.string());  // on the title: the selection opens and imports at once
    s.Wait(4);
    const uint64_t start = s.Press("SPACE");  // plays the song the selection landed on
    s.Wait(812 + 60 * 3 + 520);
    EXPECT_EQ(run.Play(s.Text()), 0) << run.errors;
    fs::remove_all(run.work.string() + ".sources");
    EXPECT_NE(run.output.find("result: Dropped Tune level 1: score 0"), std::string::npos)
        << run.output << "\n(the game started in frame " << start << ")";
    EXPECT_NE(run.Read("Data/Music/packs.txt").find("\tNight Pack\tDropped Tune\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(run.work / "Save")) << "a guest keeps nothing on disk";
}

TEST(LibraryGolden, SearchGroupingAndMarksLookAsRecorded) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    WriteInto(run.work / "Save/LIB.svd", "123\n");
    WriteInto(run.work / "Save/LIB.stats",
              "1\t3\t1765200000\tall-perfect\t星のかけら\n"
              "2\t1\t1765200000\tfull-combo\t星のかけら\n"
              "3\t2\t1765200000\tplayed\t星のかけら\n");
    WriteInto(run.work / "Data/Music/packs.txt",
              "1765200000\tDawn and Dusk\tSunbeam\n1765200000\tDawn and Dusk\tMidnight Lanterns\n");
    PlayScript s;
    s.Wait(10);
    s.SignInFromTitle("LIB", "123");
    s.Press("SPACE");
    s.Wait(10);
    const uint64_t marks = s.nextFrame() - 1;
    s.Press("F");
    s.TypeText("sun");
    s.Wait(2);
    const uint64_t search = s.nextFrame() - 1;
    s.TypeText("zz");
    s.Wait(2);
    const uint64_t noMatch = s.nextFrame() - 1;
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");  // the empty line closes
    s.Press("G");  // Sunbeam, kept from the search, in "Dawn and Dusk"
    s.Press("C");  // the first song of the next pack, "Other"
    s.Press("C");  // round to the first pack's first song
    s.Wait(4);
    const uint64_t grouped = s.nextFrame() - 1;
    const std::vector<std::pair<std::string, uint64_t>> screens = {
        {"selection-marks.png", marks},
        {"selection-search.png", search},
        {"selection-no-match.png", noMatch},
        {"selection-grouped.png", grouped},
    };
    for (const auto& [name, frame] : screens) s.Shot(frame, (run.work / name).string());
    ASSERT_EQ(run.Play(s.Text()), 0) << run.errors;
    for (const auto& [name, frame] : screens) {
        platform::Image image;
        std::string error;
        ASSERT_TRUE(platform::DecodePng((run.work / name).string(), &image, &error)) << error;
        gltest::ExpectGolden(image, "screens/" + name);
    }
}
