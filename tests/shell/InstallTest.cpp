// The installed game: `cmake --install` into a scratch prefix (staged with DESTDIR, so the
// program runs from a prefix other than the one it was installed for), then the installed
// program run as a player would, with HOME in a scratch folder: everything it writes lands in
// the player's folder, privately, and nothing under the prefix changes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "gameplay/ChartReader.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/PlayerFolder.h"
#include "selection/MusicList.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

#if defined(LYRANDEL_BUILD_DIR) && defined(LYRANDEL_CMAKE_COMMAND)

namespace {

// Permission bits of a path.
unsigned Mode(const fs::path& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFF;
}

// Every entry under a folder with its size and time of change, to see that nothing changed.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        struct stat info;
        ::lstat(e.path().c_str(), &info);
        std::ostringstream text;
        text << info.st_size << " " << info.st_mtim.tv_sec << "." << info.st_mtim.tv_nsec;
        entries[e.path().string()] = text.str();
    }
    return entries;
}

class InstalledGame : public ::testing::Test {
  protected:
    HeadlessRun run{fs::path()};  // its folder holds the stage and the player's home
    fs::path prefix, bundled, home, player;

    void SetUp() override {
        const fs::path stage = run.work / "stage";
        const std::string cmd = "DESTDIR='" + stage.string() +
                                "' '" LYRANDEL_CMAKE_COMMAND "' --install '" LYRANDEL_BUILD_DIR
                                "' --prefix /opt/lyrandel >/dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        prefix = stage / "opt/lyrandel";
        bundled = prefix / "share/lyrandel";
        home = run.work / "home";
        player = home / ".local/share/lyrandel";
        fs::create_directories(home);
        run.program = (prefix / "bin/lyrandel").string();
    }
    void TearDown() override {
        // Writable again, so the folder can go.
        std::system(("chmod -R u+w '" + run.work.string() + "'").c_str());
    }
    // Runs the installed game on a key script as the player of the scratch home.
    int Play(const std::string& script) {
        const fs::path file = run.work / "script.txt";
        std::ofstream(file) << script;
        return run.Run("--headless --script '" + file.string() + "'",
                       "LYRANDEL_BENCH_NULL_GPU=1 XDG_DATA_HOME= HOME='" + home.string() + "'");
    }
    // Runs the installed game with an environment and expects one line naming the failure.
    void ExpectRefusal(const std::string& env, const std::string& says) {
        EXPECT_EQ(run.Run("--headless --script /dev/null", env), 1) << env;
        EXPECT_NE(run.errors.find(says), std::string::npos) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    }
    std::string HomeEnv() const { return "XDG_DATA_HOME= HOME='" + home.string() + "'"; }
    // The first bundled song and its first chart, read from the installed content.
    MusicEntry FirstSong(ChartContent& chart) {
        platform::SetContentFolders({bundled.string()});
        std::vector<MusicEntry> entries;
        std::string error;
        EXPECT_TRUE(ReadMusicList(entries, error, [](const std::wstring&) { return true; }))
            << error;
        const std::string path =
            platform::ContentPath(L"Data/Music/" + entries.at(0).title + L"/1.nsd");
        platform::SetContentFolders({});
        EXPECT_TRUE(ReadChartFile(path, chart).empty());
        return entries.at(0);
    }
};

}  // namespace

TEST_F(InstalledGame, PlaysFromThePlayersFolderAndLeavesThePrefixAlone) {
    ChartContent chart;
    const MusicEntry song = FirstSong(chart);
    const std::string title = platform::WideToCp932(song.title).value();  // as saved
    const int notes = static_cast<int>(chart.redNotes.size() + chart.blueNotes.size());
    std::system(("chmod -R a-w '" + prefix.string() + "'").c_str());
    const auto before = Snapshot(prefix);

    PlayScript first;
    first.SignUpFromTitle("P1", "X9");
    first.Play(first.SelectFromTitle(0, 0), chart);
    first.Wait(20);
    ASSERT_EQ(Play(first.Text()), 0) << run.errors;
    const std::string best = title + "[" + std::to_string(500 * notes + 50000) + "][0][0]\n";
    EXPECT_EQ(run.Read(player.lexically_relative(run.work) / "Save/P1.svd"), "X9\n" + best);
    EXPECT_TRUE(fs::exists(player / "Config.cfg"));
    EXPECT_EQ(Mode(player), 0700u);
    EXPECT_EQ(Mode(player / "Save"), 0700u);
    EXPECT_EQ(Mode(player / "Save/P1.svd"), 0600u);
    // Only the player's own files: no content was copied out of the prefix.
    EXPECT_FALSE(fs::exists(player / "Data"));

    // A second run signs in and plays every note late: the first run's best score stays.
    PlayScript second;
    second.SignInFromTitle("P1", "X9");
    PressPlan late;
    for (size_t i = 0; i < chart.redNotes.size(); ++i) late.redOffset[i] = 12;
    for (size_t i = 0; i < chart.blueNotes.size(); ++i) late.blueOffset[i] = 12;
    second.Play(second.SelectFromTitle(0, 0), chart, late);
    second.Wait(20);
    ASSERT_EQ(Play(second.Text()), 0) << run.errors;
    EXPECT_EQ(run.Read(player.lexically_relative(run.work) / "Save/P1.svd"), "X9\n" + best);

    EXPECT_EQ(Snapshot(prefix), before);
}

TEST_F(InstalledGame, RefusesToStartWithOneLineSayingWhy) {
    ExpectRefusal("HOME= XDG_DATA_HOME=", "neither XDG_DATA_HOME nor HOME is set");
    std::ofstream(run.work / "file") << "x";
    ExpectRefusal("XDG_DATA_HOME='" + (run.work / "file").string() + "'",
                  "cannot make the player's folder " + (run.work / "file/lyrandel").string());
    if (::geteuid() != 0) {  // permissions do not hold the superuser back
        fs::create_directories(player);
        fs::permissions(player, fs::perms::owner_read | fs::perms::owner_exec);
        ExpectRefusal(HomeEnv(), "cannot write in " + player.string());
        fs::permissions(player, fs::perms::owner_all);
    }
    // A player's folder others may write in: the game, its check and its importer refuse it.
    fs::create_directories(player);
    fs::permissions(player, fs::perms::owner_all | fs::perms::others_all);
    ExpectRefusal(HomeEnv(),
                  "the player's folder " + player.string() + " can be written by others");
    EXPECT_EQ(run.Run("--check", HomeEnv()), 1);
    EXPECT_NE(run.errors.find("can be written by others"), std::string::npos) << run.errors;
    EXPECT_EQ(run.Run("--import '" + run.work.string() + "'", HomeEnv()), 1);
    EXPECT_NE(run.errors.find("can be written by others"), std::string::npos) << run.errors;
    fs::permissions(player, fs::perms::owner_all);

    // Bundled content damaged, then missing altogether.
    fs::remove(bundled / "Data/SE/kira2.wav");
    ExpectRefusal(HomeEnv(), (bundled / "Data/SE/kira2.wav").string());
    EXPECT_NE(run.errors.find("missing file"), std::string::npos) << run.errors;
    fs::rename(bundled, prefix / "share/elsewhere");
    ExpectRefusal(HomeEnv(), "the bundled content is missing: " + bundled.string());
    fs::rename(prefix / "share/elsewhere", bundled);

    // A game running on the same player's folder holds its lock (here: this test's process,
    // until it ends).
    std::string error;
    ASSERT_TRUE(platform::MakePlayerFolder(player.string(), &error)) << error;
    ASSERT_TRUE(platform::LockFolder(player.string(), &error)) << error;
    ExpectRefusal(HomeEnv(), "another Lyrandel is already running on " + player.string());
}

#endif
