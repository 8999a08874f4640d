// The simfile reader: tag syntax, chart blocks of both formats, note kinds, per-chart timing,
// names and encodings.
#include <gtest/gtest.h>

#include "import/SimfileReader.h"
#include "import/SimfileTags.h"

using namespace importer;

namespace {

// Reads a simfile that must read.
SourceSong Read(const std::string& text) {
    SourceSong song;
    std::string error;
    EXPECT_TRUE(ReadSimfile(text, song, error)) << error;
    return song;
}

// Two measures of a 4-column chart: kinds of notes on beats 0 to 7.
constexpr const char* kNotes4 = "1000\n0200\n0030\n0004\n,\n00M0\n0L00\nF000\n0003\n";

}  // namespace

TEST(SimfileTags, CommentsEscapesAndAForgottenSemicolon) {
    const auto tags = SplitSimfileTags(
        L"// header\n#TITLE:A\\;B // note\n;\n#artist:Me\n#BPMS:0=120;\n#NOTES:a:b:c;");
    ASSERT_EQ(tags.size(), 4u);
    EXPECT_EQ(tags[0].name, L"TITLE");
    EXPECT_EQ(tags[0].values[0], L"A;B \n");
    EXPECT_EQ(tags[1].name, L"ARTIST");  // ended by the next line's "#"
    EXPECT_EQ(tags[1].values[0], L"Me");
    EXPECT_EQ(tags[3].values.size(), 3u);
}

TEST(SimfileReader, OldStyleChartsWithEveryKindOfNote) {
    const SourceSong song = Read(std::string("#TITLE:Song;#SUBTITLE:(Remix);#ARTIST:Band;") +
                                 "#MUSIC:song.ogg;#BANNER:bn.png;#BACKGROUND:bg.png;#OFFSET:-1;"
                                 "#BPMS:0=60;#NOTES:dance-single::Hard:8:0,0:" +
                                 kNotes4 + ";" + "#NOTES:lights-cabinet:::1:0:10000000\n;");
    EXPECT_EQ(song.title, L"Song (Remix)");
    EXPECT_EQ(song.artist, L"Band");
    EXPECT_EQ(song.audioFile, "song.ogg");
    EXPECT_EQ(song.pictures, (std::vector<std::string>{"bg.png", "bn.png"}));
    ASSERT_EQ(song.charts.size(), 1u);  // lights are no chart to play
    const SourceChart& c = song.charts[0];
    EXPECT_EQ(c.columns, 4);
    EXPECT_EQ(c.name, L"Hard");
    EXPECT_EQ(c.rank, 3);
    EXPECT_EQ(c.meter, 8);
    ASSERT_EQ(c.notes.size(), 3u);  // tap, hold head, roll head
    EXPECT_DOUBLE_EQ(c.notes[0].seconds, 1.0);
    EXPECT_EQ(c.notes[1].kind, NoteKind::kHold);
    EXPECT_EQ(c.notes[2].kind, NoteKind::kRoll);
    EXPECT_EQ(c.notes[2].column, 3);
    EXPECT_DOUBLE_EQ(c.notes[2].seconds, 4.0);
    EXPECT_EQ(c.leftOut.mines, 1);
    EXPECT_EQ(c.leftOut.lifts, 1);
    EXPECT_EQ(c.leftOut.fakes, 1);
    EXPECT_DOUBLE_EQ(c.tempo, 60);
}

TEST(SimfileReader, ChartTimingTagsWinOverTheSongs) {
    const SourceSong song = Read(
        "#TITLE:T;#OFFSET:0;#BPMS:0=120;#WARPS:1=1;#FAKES:3=1;\n"
        "#NOTEDATA:;#STEPSTYPE:dance-double;#DIFFICULTY:Easy;#METER:2;\n"
        "#NOTES:10000000\n01000000\n00100000\n00010000\n;\n"
        "#NOTEDATA:;#STEPSTYPE:dance-double;#DIFFICULTY:Challenge;#METER:12;#BPMS:0=60;"
        "#OFFSET:-0.5;#DELAYS:2=0.25;\n#NOTES:10000000\n01000000\n00100000\n00010000\n;\n");
    ASSERT_EQ(song.charts.size(), 2u);
    const SourceChart &easy = song.charts[0], &hard = song.charts[1];
    // The song's warp skips beat 1, its fake section beat 3.
    ASSERT_EQ(easy.notes.size(), 2u);
    EXPECT_EQ(easy.leftOut.warped, 1);
    EXPECT_EQ(easy.leftOut.fakes, 1);
    EXPECT_DOUBLE_EQ(easy.notes[1].seconds, 0.5);  // beat 2 after a one-beat warp at 120
    // The chart's own tempo, offset and delay; its warp and fakes are still the song's.
    EXPECT_EQ(hard.rank, 4);
    ASSERT_EQ(hard.notes.size(), 2u);
    EXPECT_DOUBLE_EQ(hard.notes[0].seconds, 0.5);
    EXPECT_DOUBLE_EQ(hard.notes[1].seconds, 1.75);  // 1.5 s, then the delay
    EXPECT_DOUBLE_EQ(hard.tempo, 60);
}

TEST(SimfileReader, NamesInCodePage932AndTransliterations) {
    // "曲" in code page 932, in a file that is not UTF-8.
    const SourceSong song = Read(
        "#TITLE:\x8B\xC8;#TITLETRANSLIT:Kyoku;#BPMS:0=100;#NOTES:dance-single::Easy:1::1000\n;");
    EXPECT_EQ(song.title, L"\u66F2");
    EXPECT_EQ(song.titleLatin, L"Kyoku");
}

TEST(SimfileReader, FilesWithoutAUsableChartAreRefused) {
    SourceSong song;
    std::string error;
    EXPECT_FALSE(ReadSimfile("#TITLE:Nothing;", song, error));
    EXPECT_EQ(error, "no chart");
    EXPECT_FALSE(ReadSimfile("#TITLE:X;#NOTES:dance-single::Easy:1::1000\n;", song, error));
    EXPECT_NE(error.find("no tempo"), std::string::npos) << error;
}

TEST(SimfileReader, DifficultyNamesOldAndNew) {
    EXPECT_EQ(DifficultyRank(L"beginner"), 0);
    EXPECT_EQ(DifficultyRank(L"Light"), 1);
    EXPECT_EQ(DifficultyRank(L"Standard"), 2);
    EXPECT_EQ(DifficultyRank(L"HEAVY"), 3);
    EXPECT_EQ(DifficultyRank(L"Oni"), 4);
    EXPECT_EQ(DifficultyRank(L"whatever"), 5);
}

// Extended notes "{type|attribute|fake|vanish}": a fake one is left out and counted, the others
// are notes of their type; key sound groups stay one cell.
TEST(SimfileReader, ExtendedFakeNotesAreLeftOutAndCounted) {
    const SourceSong song = Read(
        "#TITLE:Pump;#BPMS:0=60;#NOTES:pump-single::Hard:9::"
        "{1|n|1|0}0000\n0{1|n|0|0}000\n00{2|v|1|0}00\n000{1|n|0|0}1[5]\n{M|n|1|0}0{ 1 | s | 1 | 0 "
        "}00\n;");
    ASSERT_EQ(song.charts.size(), 1u);
    const SourceChart& c = song.charts[0];
    EXPECT_EQ(c.columns, 5);
    EXPECT_EQ(c.leftOut.fakes, 3);
    EXPECT_EQ(c.leftOut.mines, 1);
    ASSERT_EQ(c.notes.size(), 3u);
    EXPECT_EQ(c.notes[0].column, 1);
    EXPECT_EQ(c.notes[1].column, 3);
    EXPECT_EQ(c.notes[2].column, 4);
}
