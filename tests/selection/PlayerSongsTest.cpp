// The player's songs that cannot be read: a deleted chart, a damaged jacket and a missing song
// file each leave only their own song out of the selection, with one line naming it (a damaged
// line of the player's list only that line), and the
// other songs (the player's and the bundled ones) stay playable; the content check reports
// each bad song. The program runs as an installed game on the demo content, its player's
// folder filled by the importer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/HeadlessRun.h"
#include "support/ImportSongWriter.h"

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

class PlayerSongs : public ::testing::Test {
  protected:
    HeadlessRun run{fs::path()};
    fs::path player;

    void SetUp() override {
        if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content in this build";
        player = run.work / "xdg/lyrandel";
    }
    // Runs the program as the player of the scratch folder, on the bundled demo content.
    int Player(const std::string& args) {
        return run.Run(
            args, "LYRANDEL_BENCH_NULL_GPU=1 XDG_DATA_HOME='" + (run.work / "xdg").string() + "'");
    }
    // The lines of stderr that name a title.
    int LinesNaming(const std::string& title) const {
        int count = 0;
        std::string line;
        for (std::istringstream in(run.errors); std::getline(in, line);)
            count += line.find("\"" + title + "\"") != std::string::npos;
        return count;
    }
};

}  // namespace

TEST_F(PlayerSongs, OneUnreadableSongNeverLocksThePlayerOutOfTheOthers) {
    const fs::path sources = run.work / "sources";
    for (const char* title : {"No Chart", "Bad Jacket", "No Sound", "Good Song"}) {
        SimfileSong song;
        song.title = title;
        song.notes = {{1, 0}, {2, 5}};
        WriteSimfileSong(sources / title, song);
    }
    ASSERT_EQ(Player("--import '" + sources.string() + "'"), 0) << run.errors << run.output;
    fs::remove(player / "Data/Music/No Chart/1.nsd");
    std::ofstream(player / "Data/Texture/Bad Jacket.png", std::ios::binary) << "torn";
    fs::remove(player / "Data/Music/No Sound/No Sound.ogg");

    // The good song plays; each bad one is named once, with what is wrong with it.
    ASSERT_EQ(Player("--headless --play 'Good Song' --autoplay"), 0) << run.errors;
    EXPECT_EQ(run.output.rfind("result: Good Song level 1: ", 0), 0u) << run.output;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 3) << run.errors;
    EXPECT_EQ(LinesNaming("No Chart"), 1) << run.errors;
    EXPECT_NE(run.errors.find("No Chart/1.nsd"), std::string::npos) << run.errors;
    EXPECT_EQ(LinesNaming("Bad Jacket"), 1) << run.errors;
    EXPECT_EQ(LinesNaming("No Sound"), 1) << run.errors;
    EXPECT_NE(run.errors.find("No Sound.wav: missing file"), std::string::npos) << run.errors;

    // A bad song cannot be chosen; the selection opens over the others and a bundled song.
    EXPECT_EQ(Player("--headless --play 'No Chart' --autoplay"), 1);
    EXPECT_NE(run.errors.find("no song titled \"No Chart\""), std::string::npos) << run.errors;
    const fs::path script = run.work / "select.txt";
    std::ofstream(script) << "10 press SPACE\n60 press D\n100 quit\n";
    EXPECT_EQ(Player("--headless --script '" + script.string() + "'"), 0) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 3) << run.errors;
    // A damaged line of the player's list leaves out that line alone.
    std::ofstream(player / "Data/Music/0.nld", std::ios::app) << "Broken[1:x:0]Someone\n";
    ASSERT_EQ(Player("--headless --play 'Good Song' --autoplay"), 0) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 4) << run.errors;
    EXPECT_NE(run.errors.find("0.nld:5: level 2 of \"Broken\""), std::string::npos) << run.errors;

    // The check names every one of them and fails.
    EXPECT_EQ(Player("--check"), 1);
    for (const char* wrong :
         {"No Chart/1.nsd", "Bad Jacket.png", "No Sound/No Sound.wav: missing file"})
        EXPECT_NE(run.output.find(wrong), std::string::npos) << wrong << "\n" << run.output;
}
