// Imports that could once break the whole library: titles the list or the file system would
// misread, names the game uses for itself or for bundled songs, data folders of another letter
// case, pictures and sounds the game could not use, and the read-back that stops anything the
// game cannot read before it is listed.
#include <sndfile.h>

#include "ImportFixture.h"
#include "import/ReadBack.h"
#include "platform/AudioFileInfo.h"
#include "platform/ImageCodec.h"
#include "platform/files/ContentFiles.h"
#include "selection/DropImport.h"
#include "selection/MusicList.h"

using namespace importtest;

namespace {

// A simfile song of a title and artist with a few notes.
SimfileSong Song(const std::string& title, const std::string& artist = "Tester") {
    SimfileSong song;
    song.title = title;
    song.artist = artist;
    song.notes = Walk(4);
    return song;
}

// The entries of a list file as the game reads it; fails the test when it does not read.
std::vector<MusicEntry> GameReads(const fs::path& list) {
    const std::string bytes = ReadBytes(list);
    std::vector<MusicEntry> entries;
    MusicListError error;
    const JacketLoader any = [](const std::wstring&) { return true; };
    EXPECT_TRUE(ParseMusicList(platform::Cp932ToWide(bytes).value_or(L"?"), any, entries, error))
        << error.line << ": " << error.message;
    return entries;
}

}  // namespace

TEST_F(Import, TitlesNeverBreakTheListNorTakeAnotherOnesFiles) {
    // "¥" is written by code page 932 as the byte of "\": it becomes the full-width yen.
    WriteSimfileSong(sources / "yen", Song("Price \u00A5100"));
    // A title like an older staging name is an ordinary title now.
    WriteSimfileSong(sources / "dot", Song(".import-1-1"));
    // Names of the game's own textures, and a bundled song's title by another artist.
    WriteSimfileSong(sources / "frame", Song("SelectMusic"));
    WriteSimfileSong(sources / "note", Song("up_red"));
    WriteSimfileSong(sources / "bundled", Song("Sunbeam", "Somebody Else"));
    const fs::path bundled = work / "bundled";
    fs::create_directories(bundled / "Data/Music");
    std::ofstream(bundled / "Data/Music/0.nld") << "Sunbeam[1:2:3]Demo\n";
    importer::ImportOptions options;
    options.reservedFrom = {bundled};
    ASSERT_EQ(Run({sources}, options).imported, 5) << lines.front();

    const std::vector<MusicEntry> entries = GameReads(data / "Data/Music/0.nld");
    std::vector<std::wstring> titles;
    for (const MusicEntry& e : entries) titles.push_back(e.title);
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Sunbeam (2)", L".import-1-1", L"SelectMusic (2)",
                                                 L"up_red (2)", L"Price \uFFE5100"}));
    EXPECT_TRUE(fs::exists(data / "Data/Music/Price \uFFE5100/1.nsd"));
    EXPECT_FALSE(fs::exists(data / "Data/Texture/SelectMusic.png"));
    // The next import leaves the dotted song alone.
    ASSERT_EQ(Run({sources / "yen"}, options).imported, 1);
    EXPECT_TRUE(fs::exists(data / "Data/Music/.import-1-1/1.nsd"));
    EXPECT_TRUE(fs::exists(data / "Data/Texture/.import-1-1.png"));
    EXPECT_EQ(GameReads(data / "Data/Music/0.nld").size(), 5u);
}

TEST_F(Import, ADataFolderOfAnotherLetterCaseIsAddedTo) {
    fs::create_directories(data / "data/music");
    fs::create_directories(data / "data/texture");
    std::ofstream(data / "data/music/0.nld") << "Old Song[1:0:0]Someone\n";
    WriteSimfileSong(sources / "a", Song("New Song"));
    ASSERT_EQ(Run({sources / "a"}).imported, 1) << lines.front();
    EXPECT_FALSE(fs::exists(data / "Data"));
    EXPECT_EQ(GameReads(data / "data/music/0.nld").size(), 2u);
    EXPECT_TRUE(fs::exists(data / "data/music/New Song/1.nsd"));
    EXPECT_TRUE(fs::exists(data / "data/texture/New Song.png"));
    // The same song again finds its files whatever the case of their names.
    ASSERT_EQ(Run({sources / "a"}).imported, 1) << lines.front();
    EXPECT_EQ(GameReads(data / "data/music/0.nld").size(), 2u);
}

TEST_F(Import, PicturesAndSoundsTheGameCouldNotUse) {
    // A picture one pixel wide and a million high: refused by its header, a drawn jacket.
    SimfileSong thin = Song("Thin Picture");
    WriteSimfileSong(sources / "thin", thin);
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x01\0\x0F\x42\x40\x08\x06\0\0\0\0\0\0\0",
                    33);
    std::ofstream(sources / "thin/bg.png", std::ios::binary) << png;
    // A µ-law WAV song, which the game's WAV reader does not play: converted to FLAC.
    SimfileSong ulaw = Song("Law Song");
    ulaw.audio = AudioKind::kWav;
    const WrittenSong written = WriteSimfileSong(sources / "ulaw", ulaw);
    {
        SF_INFO info{};
        SNDFILE* in = sf_open(written.audio.c_str(), SFM_READ, &info);
        const sf_count_t frames = info.frames;
        std::vector<short> samples(static_cast<size_t>(frames) * info.channels);
        sf_readf_short(in, samples.data(), frames);
        sf_close(in);
        info.format = SF_FORMAT_WAV | SF_FORMAT_ULAW;
        SNDFILE* out = sf_open(written.audio.c_str(), SFM_WRITE, &info);
        ASSERT_NE(out, nullptr);
        sf_writef_short(out, samples.data(), frames);
        sf_close(out);
    }
    // A beatmap archive whose audio has no extension.
    BeatmapSet set;
    set.audioName = "audio";
    set.difficulties = {{"One", {{800, 1}, {1600, 6}}}};
    WriteBeatmapArchive(sources / "bare.osz", set);

    ASSERT_EQ(Run({sources / "thin", sources / "ulaw", sources / "bare.osz"}).imported, 3)
        << ::testing::PrintToString(lines);
    platform::Image jacket;
    std::string error;
    ASSERT_TRUE(
        platform::DecodePng((data / "Data/Texture/Thin Picture.png").string(), &jacket, &error));
    EXPECT_EQ(jacket.width, 256);
    EXPECT_FALSE(fs::exists(data / "Data/Music/Law Song/Law Song.wav"));
    platform::AudioFileInfo flac;
    ASSERT_TRUE(platform::ReadAudioFileInfo((data / "Data/Music/Law Song/Law Song.flac").string(),
                                            &flac, &error))
        << error;
    EXPECT_EQ(flac.kind, "flac");
    EXPECT_NEAR(flac.seconds, ulaw.audioSeconds, 1e-3);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "  audio: Law Song.wav converted to FLAC (the game cannot play its WAV "
                        "format)"),
              lines.end());
    EXPECT_TRUE(fs::exists(data / "Data/Music/Click Map/Click Map.mp3"));
}

TEST_F(Import, ASongTheGameCannotReadBackIsNeverStaged) {
    importer::SongStore store(data);
    std::string error;
    ASSERT_TRUE(store.Open(error)) << error;
    importer::StagedSong song;
    ASSERT_TRUE(store.NewStaging(song, error)) << error;
    song.entry = {L"Staged", L"Tester", {3, 0, 0}};
    std::ofstream(song.folder / "1.nsd") << "BPM[120]\nSecond[3]\n[RU 0.5]\n";
    WriteClickAudio(song.folder / "Staged.ogg", AudioKind::kOgg, 1.0, {});
    platform::Image image{256, 256, std::vector<uint8_t>(256 * 256 * 4, 200)};
    ASSERT_TRUE(platform::WriteOpaquePng(song.jacket.string(), image, &error));
    EXPECT_TRUE(importer::ReadBackStagedSong(song, error)) << error;

    // Each thing the game reads, broken in turn.
    song.entry.levels[1] = 2;  // a level without its chart
    EXPECT_FALSE(importer::ReadBackStagedSong(song, error));
    EXPECT_NE(error.find("2.nsd"), std::string::npos) << error;
    song.entry.levels[1] = 0;
    song.entry.title = L"Staged\\";
    EXPECT_FALSE(importer::ReadBackStagedSong(song, error));
    EXPECT_NE(error.find("cannot be used as a file name"), std::string::npos) << error;
    song.entry.title = L"Staged";
    std::ofstream(song.jacket, std::ios::binary) << "not a picture";
    EXPECT_FALSE(importer::ReadBackStagedSong(song, error));
    EXPECT_NE(error.find("Texture"), std::string::npos) << error;
    ASSERT_TRUE(platform::WriteOpaquePng(song.jacket.string(), image, &error));
    std::ofstream(song.folder / "Staged.ogg", std::ios::binary) << "OggS but torn";
    EXPECT_FALSE(importer::ReadBackStagedSong(song, error));
    EXPECT_NE(error.find("Staged.ogg"), std::string::npos) << error;
}

// An MP3 file without a header of its length (its first frame, which holds it, cut off): the
// file's size suggests 0.23% too long a sound; the length is what decodes, to within a frame.
TEST_F(Import, AnMp3WithoutItsLengthHeaderIsMeasuredByDecoding) {
    constexpr double kSeconds = 40.0;
    const fs::path mp3 = sources / "cut.mp3";
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        SNDFILE* out = sf_open(mp3.c_str(), SFM_WRITE, &info);
        ASSERT_NE(out, nullptr);
        int constant = SF_BITRATE_MODE_CONSTANT;
        sf_command(out, SFC_SET_BITRATE_MODE, &constant, sizeof constant);
        std::vector<float> samples(static_cast<size_t>(kSeconds * 44100) * 2, 0.1f);
        sf_writef_float(out, samples.data(), static_cast<sf_count_t>(kSeconds * 44100));
        sf_close(out);
    }
    std::string bytes = ReadBytes(mp3);
    const size_t tag = bytes.find("Info"), second = bytes.find("\xFF\xFB", 4);
    ASSERT_LT(tag, second);
    std::ofstream(mp3, std::ios::binary) << bytes.substr(second);
    SF_INFO stated{};
    sf_close(sf_open(mp3.c_str(), SFM_READ, &stated));
    ASSERT_GT(stated.frames / 44100.0, kSeconds + 0.07);  // what the file's size suggests

    platform::AudioFileInfo info;
    std::string error;
    ASSERT_TRUE(platform::ReadAudioFileInfo(mp3.string(), &info, &error)) << error;
    EXPECT_EQ(info.kind, "mp3");
    // Without the header the decoder also gives the encoder's delay and padding: under 2 frames.
    EXPECT_GE(info.seconds, kSeconds);
    EXPECT_LT(info.seconds, kSeconds + 2 * 1152 / 44100.0);
}

TEST_F(Import, SongsDroppedOnTheWindowLeaveTheBundledTitlesTheirs) {
    WriteSimfileSong(sources / "bundled", Song("Sunbeam", "Somebody Else"));
    const fs::path bundled = work / "bundled";
    fs::create_directories(bundled / "Data/Music");
    std::ofstream(bundled / "Data/Music/0.nld") << "Sunbeam[1:2:3]Demo\n";
    platform::SetContentFolders({data.string(), bundled.string()});
    DropImport drop;
    ASSERT_TRUE(
        drop.Start({(sources / "bundled").string()}, data.string(), ImportOptionsForContent()));
    drop.Wait();
    std::vector<std::string> report;
    ASSERT_TRUE(drop.Poll(report));
    platform::SetContentFolders({});
    EXPECT_EQ(drop.result().titles, std::vector<std::wstring>{L"Sunbeam (2)"});
}
