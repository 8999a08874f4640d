// The importer end to end on songs the tests write: simfiles and beatmap archives with Ogg,
// FLAC and MP3 audio, into a data folder; the music list, every note's value against its
// sound, the copied audio, the jacket, re-imports, skips and failures that leave nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "ImportFixture.h"
#include "import/Importer.h"
#include "platform/Codepage.h"
#include "platform/ImageCodec.h"
#include "platform/files/AtomicFile.h"
#include "selection/PacksFile.h"
#include "support/ImportSongWriter.h"

namespace fs = std::filesystem;
using namespace testsupport;

using namespace importtest;

TEST_F(Import, SimfilesAndBeatmapArchivesWithEveryAudioKind) {
    SimfileSong ogg;
    ogg.title = "Tempo Song";
    ogg.offset = -0.3;
    ogg.bpms = {{0, 120}, {8, 180}};
    ogg.stops = {{4, 0.4}};
    ogg.notes = Walk(16, 0.75);
    ogg.audioSeconds = 7.0;
    const WrittenSong first = WriteSimfileSong(sources / "pack" / "Tempo", ogg);

    SimfileSong flac;
    flac.title = "Four Lanes";
    flac.artist = "Quartet";
    flac.stepsType = "dance-single";
    flac.columns = 4;
    flac.difficulty = "Easy";
    flac.meter = 2;
    flac.audio = AudioKind::kFlac;
    flac.notes = Walk(8, 1.0, 4);
    const WrittenSong second = WriteSimfileSong(sources / "pack" / "deeper" / "Four", flac);
    // A PNG background wider than high: cropped around its centre.
    platform::Image picture{300, 200, std::vector<uint8_t>(300 * 200 * 4, 90)};
    std::string error;
    ASSERT_TRUE(platform::WriteOpaquePng((sources / "pack/deeper/Four/four-bg.png").string(),
                                         picture, &error));

    BeatmapSet set;
    set.keys = 7;
    set.difficulties = {{"Hard", {{1000, 0}, {1250, 3}, {1500, 6}, {1750, 2}, {2000, 5}}},
                        {"Easy", {{1000, 0}, {2000, 6}}}};
    const WrittenSong third = WriteBeatmapArchive(sources / "map.osz", set);

    const std::map<std::string, std::string> before = {
        {"sm", ReadBytes(sources / "pack/Tempo/Tempo Song.sm")}, {"ogg", ReadBytes(first.audio)}};
    const importer::ImportResult result = Run({sources / "pack", sources / "map.osz"});
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.skipped, 0);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "imported \"Tempo Song\" from " +
                            (sources / "pack/Tempo/Tempo Song.sm").string() + ": levels 5:0:0");
    EXPECT_EQ(lines[1], "  level 1 (Medium 5): 16 notes");
    EXPECT_EQ(lines[3], "  level 1 (Easy 2): 8 notes");
    EXPECT_EQ(lines[4],
              "imported \"Click Map\" from " + (sources / "map.osz").string() + ": levels 2:5:0");
    EXPECT_EQ(lines[6], "  level 2 (Hard 5): 5 notes");

    EXPECT_EQ(List(),
              L"Tempo Song[5:0:0]Tester\nFour Lanes[2:0:0]Quartet\nClick Map[2:5:0]Tester\n");
    ExpectTimes(ChartTimes("Tempo Song", 1), first.noteTimes);
    ExpectTimes(ChartTimes("Four Lanes", 1), second.noteTimes);
    ExpectTimes(ChartTimes("Click Map", 2), third.noteTimes);
    EXPECT_EQ(ReadBytes(data / "Data/Music/Tempo Song/1.nsd").substr(0, 21),
              "BPM[120]\nSecond[2]\n[R");

    // The audio is copied unchanged under the title; the source is untouched.
    EXPECT_EQ(ReadBytes(data / "Data/Music/Tempo Song/Tempo Song.ogg"), before.at("ogg"));
    EXPECT_EQ(ReadBytes(data / "Data/Music/Four Lanes/Four Lanes.flac"), ReadBytes(second.audio));
    EXPECT_TRUE(fs::exists(data / "Data/Music/Click Map/Click Map.mp3"));
    EXPECT_EQ(ReadBytes(sources / "pack/Tempo/Tempo Song.sm"), before.at("sm"));

    for (const char* title : {"Tempo Song", "Four Lanes", "Click Map"}) {
        platform::Image jacket;
        ASSERT_TRUE(platform::DecodePng(
            (data / "Data/Texture" / (std::string(title) + ".png")).string(), &jacket, &error))
            << error;
        EXPECT_EQ(jacket.width, 256);
        EXPECT_EQ(jacket.height, 256);
        // The background's grey for the song that has one, a drawn jacket for the others.
        const bool grey = jacket.rgba[0] == 90 && jacket.rgba[1] == 90;
        EXPECT_EQ(grey, std::string(title) == "Four Lanes") << title;
    }
    EXPECT_EQ(DataFiles(),
              (std::vector<std::string>{
                  "Data/Music/0.nld", "Data/Music/Click Map/1.nsd", "Data/Music/Click Map/2.nsd",
                  "Data/Music/Click Map/Click Map.mp3", "Data/Music/Four Lanes/1.nsd",
                  "Data/Music/Four Lanes/Four Lanes.flac", "Data/Music/Tempo Song/1.nsd",
                  "Data/Music/Tempo Song/Tempo Song.ogg", "Data/Music/packs.txt",
                  "Data/Texture/Click Map.png", "Data/Texture/Four Lanes.png",
                  "Data/Texture/Tempo Song.png"}));

    // The folder named holds one song and a folder of another; the archive is its own pack.
    PackRecords packs;
    std::vector<int> bad;
    ParsePacks(ReadBytes(data / "Data/Music/packs.txt"), packs, bad);
    EXPECT_TRUE(bad.empty());
    EXPECT_EQ(packs[L"Tempo Song"].pack, L"pack");
    EXPECT_EQ(packs[L"Four Lanes"].pack, L"deeper");
    EXPECT_EQ(packs[L"Click Map"].pack, L"map");
    EXPECT_GT(packs[L"Click Map"].added, 0);
    EXPECT_EQ(result.titles,
              (std::vector<std::wstring>{L"Tempo Song", L"Four Lanes", L"Click Map"}));
}

TEST_F(Import, ReimportReplacesAndAnotherSongOfTheTitleGetsANumber) {
    fs::create_directories(data / "Data/Music");
    std::ofstream(data / "Data/Music/0.nld", std::ios::binary) << "Demo[1:2:3]Someone\r\n";
    SimfileSong song;
    song.notes = Walk(4);
    WriteSimfileSong(sources / "a", song);
    ASSERT_EQ(Run({sources / "a"}).imported, 1);
    song.meter = 7;
    WriteSimfileSong(sources / "a", song);
    song.artist = "Other Band";
    WriteSimfileSong(sources / "b", song);
    // The same song twice in one run replaces itself, as it does across runs.
    ASSERT_EQ(Run({sources / "a", sources / "b", sources / "a"}).imported, 3);
    EXPECT_EQ(List(),
              L"Demo[1:2:3]Someone\r\nClick Song[7:0:0]Tester\nClick Song (2)[7:0:0]Other Band\n");
    EXPECT_TRUE(fs::exists(data / "Data/Music/Click Song (2)/Click Song (2).ogg"));
    EXPECT_TRUE(fs::exists(data / "Data/Texture/Click Song (2).png"));
    EXPECT_FALSE(fs::exists(data / "Data/Texture/Click Song (3).png"));
}

TEST_F(Import, SkippedSongsAndPathsSayWhy) {
    SimfileSong three;
    three.stepsType = "dance-threepanel";
    three.columns = 3;
    three.notes = Walk(3, 1.0, 3);
    WriteSimfileSong(sources / "three", three);
    SimfileSong silent;
    silent.notes = Walk(3);
    const WrittenSong s = WriteSimfileSong(sources / "silent", silent);
    fs::remove(s.audio);
    std::ofstream(sources / "notes.txt") << "hello";
    const importer::ImportResult result =
        Run({sources / "three", sources / "silent", sources / "missing", sources / "notes.txt",
             work / "data"});
    EXPECT_EQ(result.imported, 0);
    EXPECT_EQ(result.skipped, 5);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "skipped " + (sources / "three/Click Song.sm").string() +
                             ": no chart with 4 to 8 columns",
                         "skipped " + (sources / "silent/Click Song.sm").string() +
                             ": the audio \"Click Song.ogg\" is missing",
                         "skipped " + (sources / "missing").string() + ": no such file or folder",
                         "skipped " + (sources / "notes.txt").string() +
                             ": not a .sm, .ssc, .osu, .osz or .zip file, nor a folder",
                         "skipped " + (work / "data").string() +
                             ": no song found (no .sm, .ssc, .osu, .osz or .zip file)"}));
}

TEST_F(Import, AHostileArchiveWritesNothingOutsideItsSong) {
    std::vector<ArchiveEntry> entries = {{"../../evil.osu", "x"},
                                         {"/tmp/abs.ogg", "x"},
                                         {"bg.png", "", ArchiveEntry::kSymlink, "/etc/passwd"},
                                         {"__MACOSX/song/._Click Song.sm", "junk"}};
    SimfileSong song;
    song.notes = Walk(4);
    const WrittenSong written = WriteSimfileSong(work / "unpacked", song);
    entries.push_back({"song/Click Song.sm", ReadBytes(work / "unpacked/Click Song.sm")});
    entries.push_back({"song/Click Song.ogg", ReadBytes(written.audio)});
    WriteZip(sources / "hostile.zip", entries);

    const importer::ImportResult result = Run({sources / "hostile.zip"});
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(result.skipped, 3);
    EXPECT_EQ(lines[0],
              "skipped " + (sources / "hostile.zip").string() +
                  ": entry \"../../evil.osu\" left out (an absolute path, \"..\" or no name)");
    EXPECT_EQ(lines[2], "skipped " + (sources / "hostile.zip").string() +
                            ": entry \"bg.png\" left out (a link)");
    EXPECT_EQ(lines[3], "imported \"Click Song\" from " +
                            (sources / "hostile.zip/song/Click Song.sm").string() +
                            ": levels 5:0:0");
    EXPECT_EQ(DataFiles(),
              (std::vector<std::string>{"Data/Music/0.nld", "Data/Music/Click Song/1.nsd",
                                        "Data/Music/Click Song/Click Song.ogg",
                                        "Data/Music/packs.txt", "Data/Texture/Click Song.png"}));
    EXPECT_FALSE(fs::exists(work / "evil.osu"));
    EXPECT_FALSE(fs::exists(fs::path("/tmp/abs.ogg")));
}

TEST_F(Import, ADamagedMusicListStopsTheImportBeforeAnythingIsWritten) {
    fs::create_directories(data / "Data/Music");
    std::ofstream(data / "Data/Music/0.nld") << "Song[1:x:3]Someone\n";
    SimfileSong song;
    song.notes = Walk(4);
    WriteSimfileSong(sources / "a", song);
    const importer::ImportResult result = Run({sources / "a"});
    EXPECT_NE(result.failure.find("0.nld:1: level 2 of \"Song\""), std::string::npos)
        << result.failure;
    EXPECT_EQ(result.imported, 0);
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"Data/Music/0.nld"});
    EXPECT_FALSE(fs::exists(data / "Data/Music/Click Song"));
}

namespace {

// Fails the rename that puts the new music list in place, and the swap that brings in a
// replacing song with its list.
bool FailListRename(const char* step) {
    return std::string(step) != "rename" && std::string(step) != "swap";
}

}  // namespace

TEST_F(Import, ASongWhoseListCannotBeWrittenLeavesNothingBehind) {
    SimfileSong song;
    song.notes = Walk(4);
    WriteSimfileSong(sources / "a", song);
    ASSERT_EQ(Run({sources / "a"}).imported, 1);
    const std::string list = ReadBytes(data / "Data/Music/0.nld");
    const std::vector<std::string> files = DataFiles();
    const std::string chart = ReadBytes(data / "Data/Music/Click Song/1.nsd");
    const std::string jacket = ReadBytes(data / "Data/Texture/Click Song.png");

    // A new song (another artist) and the same song again (a replacement) both fail at their
    // last step; what was there stays as it was.
    song.notes = Walk(6);
    WriteSimfileSong(sources / "a", song);
    song.artist = "Someone Else";
    song.title = "Other Title";  // its drawn jacket differs too
    WriteSimfileSong(sources / "b", song);
    for (const char* source : {"a", "b"}) {
        platform::SetAtomicWriteHookForTesting(FailListRename);
        importer::SetImportStepHookForTesting(FailListRename);
        const importer::ImportResult result = Run({sources / source});
        platform::SetAtomicWriteHookForTesting(nullptr);
        importer::SetImportStepHookForTesting(nullptr);
        EXPECT_EQ(result.imported, 0);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("cannot "), std::string::npos) << lines[0];
        EXPECT_EQ(ReadBytes(data / "Data/Music/0.nld"), list);
        EXPECT_EQ(DataFiles(), files);
        EXPECT_EQ(ReadBytes(data / "Data/Music/Click Song/1.nsd"), chart);
        EXPECT_EQ(ReadBytes(data / "Data/Texture/Click Song.png"), jacket);
        for (const auto& e : fs::directory_iterator(data / "Data/Music"))
            EXPECT_NE(e.path().filename().string().rfind("[import ", 0), 0u) << e.path();
    }
}
