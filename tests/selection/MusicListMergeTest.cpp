// The music lists of the player's folder and the bundled content, merged: the bundled songs,
// then the player's; the player's title wins; each song's files come from its own folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "selection/MusicList.h"

namespace fs = std::filesystem;

namespace {

class MusicListMerge : public ::testing::Test {
  protected:
    fs::path root, player, bundled;
    std::map<std::wstring, std::string> jackets;  // title: the file its jacket came from

    void SetUp() override {
        root = fs::temp_directory_path() /
               ("lyrandel-merge-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        player = root / "player";
        bundled = root / "bundled";
    }
    void TearDown() override {
        platform::SetContentFolders({});
        fs::remove_all(root);
    }
    static void Write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // A song's jacket and first chart in a folder.
    static void Song(const fs::path& folder, const std::string& title) {
        Write(folder / "Data/Texture" / (title + ".png"), "jacket");
        Write(folder / "Data/Music" / title / "1.nsd", "BPM[120]\n");
    }
    // Reads the merged list, noting where each jacket was found.
    std::vector<MusicEntry> Read(std::string& error) {
        platform::SetContentFolders({player.string(), bundled.string()});
        jackets.clear();
        std::vector<MusicEntry> entries;
        const JacketLoader note = [this](const std::wstring& title) {
            jackets[title] = platform::ContentPath(L"Data/Texture/" + title + L".png");
            return true;
        };
        error.clear();
        ReadMusicList(entries, error, note);
        return entries;
    }
    static std::vector<std::wstring> Titles(const std::vector<MusicEntry>& entries) {
        std::vector<std::wstring> titles;
        for (const MusicEntry& e : entries) titles.push_back(e.title);
        return titles;
    }
};

}  // namespace

TEST_F(MusicListMerge, BundledSongsThenThePlayersAndThePlayersTitleWins) {
    Write(bundled / "Data/Music/0.nld", "A[1:1:1]bundled\nB[1:2:3]bundled\n");
    Write(player / "Data/Music/0.nld", "B[4:5:6]mine\nC[1:1:1]mine\n");
    for (const char* t : {"A", "B"}) Song(bundled, t);
    for (const char* t : {"B", "C"}) Song(player, t);
    // A stray chart of a bundled song in the player's folder is not the song's.
    Write(player / "Data/Music/A/1.nsd", "BPM[999]\n");

    std::string error;
    const std::vector<MusicEntry> entries = Read(error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(Titles(entries), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_EQ(entries[1].credit, L"mine");
    EXPECT_EQ(entries[1].levels[2], 6);

    EXPECT_EQ(jackets[L"A"], (bundled / "Data/Texture/A.png").string());
    EXPECT_EQ(jackets[L"B"], (player / "Data/Texture/B.png").string());
    EXPECT_EQ(jackets[L"C"], (player / "Data/Texture/C.png").string());
    EXPECT_EQ(platform::ContentPath(L"Data/Music/A/1.nsd"),
              (bundled / "Data/Music/A/1.nsd").string());
    EXPECT_EQ(platform::ContentPath(L"Data/Music/B/1.nsd"),
              (player / "Data/Music/B/1.nsd").string());
}

TEST_F(MusicListMerge, AnUpdateOfTheBundledSongsShowsAtTheNextReadAndThePlayersStay) {
    Write(bundled / "Data/Music/0.nld", "A[1:1:1]old\n");
    std::string error;
    // A player who imported nothing yet: the bundled songs alone.
    EXPECT_EQ(Titles(Read(error)), std::vector<std::wstring>{L"A"});
    ASSERT_TRUE(error.empty()) << error;

    Write(player / "Data/Music/0.nld", "Mine[1:1:1]me\n");
    Write(bundled / "Data/Music/0.nld", "A[2:2:2]new\nD[1:1:1]added\n");
    const std::vector<MusicEntry> entries = Read(error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(Titles(entries), (std::vector<std::wstring>{L"A", L"D", L"Mine"}));
    EXPECT_EQ(entries[0].credit, L"new");
}
