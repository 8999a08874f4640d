// The beatmap reader: key mode only, columns from x, holds, times in the audio, tempo, names.
#include <gtest/gtest.h>

#include "import/OsuReader.h"

using namespace importer;

namespace {

// A 7-key beatmap with a lead-in, a tempo change and an inherited point.
constexpr const char* kBeatmap =
    "osu file format v14\r\n\r\n[General]\r\nAudioFilename: song.mp3\r\nAudioLeadIn: 2000\r\n"
    "Mode: 3\r\n\r\n[Metadata]\r\nTitle:Hoshi\r\nTitleUnicode:星\r\nArtist:A\r\n"
    "Version:Hard\r\n\r\n[Difficulty]\r\nCircleSize:7\r\n\r\n[Events]\r\n"
    "0,0,\"back ground.jpg\",0,0\r\n\r\n[TimingPoints]\r\n500,500,4,1,0,100,1,0\r\n"
    "1500,-50,4,1,0,100,0,0\r\n2500,250,4,1,0,100,1,0\r\n\r\n[HitObjects]\r\n"
    "36,192,2500,1,0,0:0:0:0:\r\n"
    "475,192,500,128,0,900:0:0:0:0:\r\n"
    "256,192,1000,5,0,0:0:0:0:\r\n"
    "bad,row\r\n"
    "511,192,3000,1,0,0:0:0:0:\r\n";

}  // namespace

TEST(OsuReader, KeyModeBeatmap) {
    SourceSong song;
    std::string error;
    ASSERT_TRUE(ReadOsu(kBeatmap, song, error)) << error;
    EXPECT_EQ(song.title, L"\u661F");
    EXPECT_EQ(song.titleLatin, L"Hoshi");
    EXPECT_EQ(song.audioFile, "song.mp3");
    EXPECT_EQ(song.pictures, std::vector<std::string>{"back ground.jpg"});
    ASSERT_EQ(song.charts.size(), 1u);
    const SourceChart& c = song.charts[0];
    EXPECT_EQ(c.columns, 7);
    EXPECT_EQ(c.name, L"Hard");
    ASSERT_EQ(c.notes.size(), 4u);  // sorted by time; the lead-in moves nothing
    EXPECT_DOUBLE_EQ(c.notes[0].seconds, 0.5);
    EXPECT_EQ(c.notes[0].column, 6);
    EXPECT_EQ(c.notes[0].kind, NoteKind::kHold);
    EXPECT_EQ(c.notes[1].column, 3);
    EXPECT_EQ(c.notes[2].column, 0);
    EXPECT_EQ(c.notes[3].column, 6);
    EXPECT_DOUBLE_EQ(c.notesPerSecond, 4 / 2.5);
    // 2 s at 120 (the inherited point changes nothing) against 0.5 s at 240.
    EXPECT_DOUBLE_EQ(c.tempo, 120);
}

TEST(OsuReader, OtherModesAndEmptyMapsAreRefused) {
    SourceSong song;
    std::string error;
    EXPECT_FALSE(ReadOsu("[General]\nMode: 0\n[Difficulty]\nCircleSize:4\n", song, error));
    EXPECT_EQ(error, "not an osu!mania beatmap");
    EXPECT_FALSE(ReadOsu("[General]\nMode: 3\n[Difficulty]\nCircleSize:4\n", song, error));
    EXPECT_EQ(error, "no notes");
    EXPECT_FALSE(ReadOsu("[General]\nMode: 3\n", song, error));
}
