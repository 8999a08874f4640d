// Content lookup: folder order, pins that keep a song's files together, and names that differ
// from the asked one only in letter case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/files/ContentFiles.h"

namespace fs = std::filesystem;

namespace {

class ContentFiles : public ::testing::Test {
  protected:
    fs::path root;

    void SetUp() override {
        root = fs::temp_directory_path() /
               ("lyrandel-content-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
    }
    void TearDown() override {
        platform::SetContentFolders({});
        fs::remove_all(root);
    }
    // Makes a file (and its folders) under the test's root.
    std::string Make(const std::string& relative) {
        const fs::path path = root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << relative;
        return path.string();
    }
    std::string Folder(const std::string& name) { return (root / name).string(); }
};

}  // namespace

TEST_F(ContentFiles, ExactNameFirstThenOneDifferingInCaseAlongThePath) {
    const std::string exact = Make("a/Data/Texture/Hit.png");
    const std::string upper = Make("a/Data/Texture/HIT.png");
    const std::string jacket = Make("a/data/music/sunbeam/SUNBEAM.WAV");
    const std::string a = Folder("a");

    platform::FoundFile found = platform::FindInFolder(a, L"Data/Texture/Hit.png");
    EXPECT_EQ(found.path, exact);
    EXPECT_FALSE(found.caseDiffers);

    // Every part of the path may differ: the folders as well as the file.
    found = platform::FindInFolder(a, L"Data/Music/Sunbeam/Sunbeam.wav");
    EXPECT_EQ(found.path, jacket);
    EXPECT_TRUE(found.caseDiffers);

    // Two candidates: the first in byte order, whatever order the directory lists them in.
    fs::remove(exact);
    Make("a/Data/Texture/hit.PNG");
    EXPECT_EQ(platform::FindInFolder(a, L"Data/Texture/Hit.png").path, upper);

    // Letters beyond ASCII fold too; other names do not match.
    const std::string accented = Make("a/Data/SE/ÉTOILE.wav");
    EXPECT_EQ(platform::FindInFolder(a, L"Data/SE/étoile.wav").path, accented);
    EXPECT_TRUE(platform::FindInFolder(a, L"Data/SE/etoile.wav").path.empty());
}

TEST_F(ContentFiles, PlayersFolderFirstAndPinsKeepASongInItsFolder) {
    const std::string player = Folder("player"), bundled = Folder("bundled");
    const std::string playerHit = Make("player/Data/Texture/Hit.png");
    const std::string bundledKk = Make("bundled/Data/Texture/kk.png");
    const std::string bundledChart = Make("bundled/Data/Music/Song/1.nsd");
    const std::string strayChart = Make("player/Data/Music/Song/1.nsd");
    Make("bundled/Data/Music/Song/2.nsd");
    platform::SetContentFolders({player, bundled});

    EXPECT_EQ(platform::ContentPath(L"Data/Texture/Hit.png"), playerHit);
    EXPECT_EQ(platform::ContentPath(L"Data/Texture/kk.png"), bundledKk);
    EXPECT_EQ(platform::FindContent(L"Data/Texture/kk.png").folder, 1u);
    // An exact name anywhere comes before a name of another letter case.
    Make("player/Data/Texture/KK.png");
    EXPECT_EQ(platform::ContentPath(L"Data/Texture/kk.png"), bundledKk);
    // Unpinned, the player's copy of a file wins.
    EXPECT_EQ(platform::ContentPath(L"Data/Music/Song/1.nsd"), strayChart);

    // Pinned to the bundled folder (its list holds the song): a stray file of the player's is
    // not mixed in, and a file the pinned folder lacks is missing even if the other has it.
    platform::PinContent(L"Data/Music/Song/", 1);
    EXPECT_EQ(platform::ContentPath(L"Data/Music/Song/1.nsd"), bundledChart);
    Make("player/Data/Music/Song/3.nsd");
    EXPECT_FALSE(platform::ContentExists(L"Data/Music/Song/3.nsd"));
    EXPECT_EQ(platform::ExpectedContentPath(L"Data/Music/Song/3.nsd"),
              bundled + "/Data/Music/Song/3.nsd");
    // A pin of one file leaves its neighbours alone.
    platform::PinContent(L"Data/Texture/Hit.png", 1);
    EXPECT_FALSE(platform::ContentExists(L"Data/Texture/Hit.png"));
    EXPECT_TRUE(platform::ContentExists(L"Data/Texture/kk.png"));

    platform::ClearContentPins();
    EXPECT_EQ(platform::ContentPath(L"Data/Music/Song/1.nsd"), strayChart);

    // A file no folder holds: its own relative path to open, the last folder's in messages.
    EXPECT_EQ(platform::ContentPath(L"Data/SE/kira2.wav"), "Data/SE/kira2.wav");
    EXPECT_EQ(platform::ExpectedContentPath(L"Data/SE/kira2.wav"), bundled + "/Data/SE/kira2.wav");
}
