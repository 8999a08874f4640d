// Packs: the name a song's pack gets from where it was found, the packs file's lines, the pack
// of each entry with the bundled content behind the player's folder, and the importer's writer
// setting a damaged file aside.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "import/PackName.h"
#include "platform/files/ContentFiles.h"
#include "selection/PacksFile.h"

namespace fs = std::filesystem;

namespace {

struct Packs : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("lyrandel-packs-" + std::to_string(::getpid()));
    void SetUp() override { fs::remove_all(root), fs::create_directories(root); }
    void TearDown() override {
        platform::SetContentFolders({""});
        fs::remove_all(root);
    }
    // Makes a folder under the root and returns its path.
    fs::path Folder(const std::string& relative) {
        fs::create_directories(root / relative);
        return root / relative;
    }
    void Write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
};

TEST_F(Packs, ThePackIsTheNamedArchiveOrFolderOrThePackFolderTheSongWasFoundIn) {
    const fs::path songs = Folder("Songs"), pack = Folder("Songs/Autumn"),
                   song = Folder("Songs/Autumn/Leaves");
    Write(song / "Leaves.sm", "");
    // A folder of packs: the pack folder holding the song.
    EXPECT_EQ(importer::PackName(songs, {}, song), L"Autumn");
    // A pack folder, a song folder, a file of a song (with a trailing slash or "." too).
    EXPECT_EQ(importer::PackName(pack, {}, song), L"Autumn");
    EXPECT_EQ(importer::PackName(pack.string() + "/", {}, song), L"Autumn");
    EXPECT_EQ(importer::PackName(song, {}, song), L"Leaves");
    EXPECT_EQ(importer::PackName(song / "Leaves.sm", {}, song), L"Leaves");
    EXPECT_EQ(importer::PackName(song / ".", {}, song), L"Leaves");
    // An archive named: its name without the extension, wherever inside it the song was.
    const fs::path osz = songs / "Night Drive.osz";
    EXPECT_EQ(importer::PackName(osz, osz, root / "staging/x/y"), L"Night Drive");
    // Archives found in a named folder: that folder, or the pack folder holding them.
    EXPECT_EQ(importer::PackName(songs, songs / "a.zip", root / "staging"), L"Songs");
    EXPECT_EQ(importer::PackName(songs, pack / "b.osz", root / "staging"), L"Autumn");
}

TEST_F(Packs, TheFileKeepsItsGoodLinesAndALaterLineWins) {
    PackRecords records;
    std::vector<int> bad;
    ParsePacks(
        "# header\n10\tA\tSong\n\nnot a record\n20\tB\tSong\n30\t\tEmpty pack\n"
        "x\tC\tBad time\n40\tTab\tTitle\twith tab\n",
        records, bad);
    EXPECT_EQ(bad, (std::vector<int>{4, 6, 7}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[L"Song"].pack, L"B");
    EXPECT_EQ(records[L"Song"].added, 20);
    EXPECT_EQ(records[L"Title\twith tab"].pack, L"Tab");
    EXPECT_EQ(CleanPackName(L" Two\nlines\t"), L"Two lines");
    EXPECT_EQ(CleanPackName(L"\n"), kOtherPack);
    PackRecords again;
    ParsePacks(FormatPacks(records), again, bad);
    EXPECT_EQ(again.size(), 2u);
}

TEST_F(Packs, EntriesTakeTheRecordOfTheFolderThatListsThemElseBundledOrOther) {
    const fs::path player = Folder("player"), bundled = Folder("bundled");
    Write(player / kPacksPath, "5\tMine\tImported\n5\tMine\tShadowed\n");
    Write(bundled / kPacksPath, "5\tNever\tImported\n");
    platform::SetContentFolders({player.string(), bundled.string()});
    platform::PinContent(L"Data/Music/Imported/", 0);
    platform::PinContent(L"Data/Music/Old import/", 0);
    platform::PinContent(L"Data/Music/Shadowed/", 1);
    const std::vector<MusicEntry> entries = {{L"Shadowed", L"", {1, 1, 1}},
                                             {L"Imported", L"", {1, 1, 1}},
                                             {L"Old import", L"", {1, 1, 1}}};
    const std::vector<PackRecord> packs = PacksOfEntries(entries);
    EXPECT_EQ(packs[0].pack, kBundledPack);  // the bundled song: the player's line is not its
    EXPECT_EQ(packs[1].pack, L"Mine");
    EXPECT_EQ(packs[1].added, 5);
    EXPECT_EQ(packs[2].pack, kOtherPack);  // imported before packs were kept
}

TEST_F(Packs, TheImporterSetsADamagedFileAsideAndWritesItsGoodLinesBack) {
    Write(root / kPacksPath, "7\tKept\tGood\ngarbage\n");
    PacksWriter writer;
    std::string notice, error;
    ASSERT_TRUE(writer.Open((root / "Data/Music").string(), notice, error)) << error;
    EXPECT_NE(notice.find("packs.txt:2: not a pack record"), std::string::npos) << notice;
    EXPECT_TRUE(fs::exists(root / (std::string(kPacksPath) + ".damaged")));
    ASSERT_TRUE(writer.Record(L"New", L"Fresh", error)) << error;
    PackRecords records;
    std::vector<int> bad;
    std::ifstream in(root / kPacksPath);
    ParsePacks(std::string(std::istreambuf_iterator<char>(in), {}), records, bad);
    EXPECT_TRUE(bad.empty());
    EXPECT_EQ(records[L"Good"].pack, L"Kept");
    EXPECT_EQ(records[L"New"].pack, L"Fresh");
    EXPECT_EQ(fs::status(root / kPacksPath).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
