// The timing files: "Timing.cfg" and "SongOffsets.txt" read back what they wrote (titles with
// any character of the code page), name their bad lines, and a damaged one is set aside with
// the defaults used; the offsets a song starts with add up.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "WorkFolder.h"
#include "settings/Timing.h"

namespace {

class TimingFiles : public WorkFolder {
  protected:
    void SetUp() override {
        WorkFolder::SetUp();
        GetTiming() = Timing{};
    }
    void TearDown() override {
        GetTiming() = Timing{};
        WorkFolder::TearDown();
    }
};

}  // namespace

TEST_F(TimingFiles, TimingChoicesReadBackAndBadValuesAreNamed) {
    TimingChoices choices{-42, false, false};
    TimingChoices read;
    std::string error;
    ASSERT_TRUE(ParseTimingText(TimingText(choices), &read, &error)) << error;
    EXPECT_EQ(read.globalOffsetMs, -42);
    EXPECT_FALSE(read.deviceLatency);
    EXPECT_FALSE(read.errorBar);
    // Keys it does not know are skipped, CR LF reads as a line end.
    read = TimingChoices{};
    ASSERT_TRUE(ParseTimingText("Future[9]\r\nGlobalOffset[+300]\r\n", &read, &error));
    EXPECT_EQ(read.globalOffsetMs, 300);
    EXPECT_TRUE(read.errorBar);
    const std::pair<const char*, const char*> bad[] = {
        {"GlobalOffset[301]\n", "1: offset 301 is outside -300 to 300 ms"},
        {"ErrorBar[1]\nGlobalOffset[12.5]\n", "2: offset \"12.5\" is not a whole number of ms"},
        {"GlobalOffset[]\n", "1: offset \"\" is not a whole number of ms"},
        {"ErrorBar[yes]\n", "1: ErrorBar must be 0 or 1"},
        {"DeviceLatency[1\n", "1: value without its \"]\""},
    };
    for (const auto& [text, message] : bad) {
        read = TimingChoices{};
        EXPECT_FALSE(ParseTimingText(text, &read, &error)) << text;
        EXPECT_EQ(error, message);
        EXPECT_EQ(read.globalOffsetMs, 0) << "nothing is taken from a bad file";
    }
}

TEST_F(TimingFiles, SongOffsetsKeepEveryTitleAndNameTheirBadLines) {
    SongOffsetTable table = {
        {L"星の\u3000歌 [Remix]", 15}, {L"tab\there", -300}, {L" spaced ", 5}, {L"zero", 0}};
    SongOffsetTable read;
    std::string error;
    const std::string text = SongOffsetsText(table);
    EXPECT_EQ(text.find("zero"), std::string::npos);  // an offset of 0 is no entry
    ASSERT_TRUE(ParseSongOffsetsText(text, &read, &error)) << error;
    table.erase(L"zero");
    EXPECT_EQ(read, table);
    ASSERT_TRUE(ParseSongOffsetsText("5\tA\r\r\n\n-5\tA\n", &read, &error));
    EXPECT_EQ(read, (SongOffsetTable{{L"A", -5}}));  // the later line wins
    const std::pair<const char*, const char*> bad[] = {
        {"5 Song\n", "1: no TAB between the offset and the title"},
        {"5\tA\nfive\tB\n", "2: offset \"five\" is not a whole number of ms"},
        {"400\tA\n", "1: offset 400 is outside -300 to 300 ms"},
        {"5\t\n", "1: no title after the TAB"},
        {"5\t\xFF\xFE\n", "1: the title is not UTF-8"},
        {"5\tA\rB\n", "1: the title holds a line break"},
    };
    for (const auto& [bytes, message] : bad) {
        EXPECT_FALSE(ParseSongOffsetsText(bytes, &read, &error)) << bytes;
        EXPECT_EQ(error, message);
    }
}

TEST_F(TimingFiles, DamagedFilesAreSetAsideAndChangesAreWrittenPrivately) {
    Write("Timing.cfg", "GlobalOffset[25]\nErrorBar[maybe]\n");
    Write("SongOffsets.txt", "10\tEtude\n");
    testing::internal::CaptureStderr();
    LoadTiming();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said,
              "lyrandel: Timing.cfg:2: ErrorBar must be 0 or 1; set aside as Timing.cfg.damaged, "
              "using the defaults\n");
    EXPECT_EQ(Read("Timing.cfg.damaged"), "GlobalOffset[25]\nErrorBar[maybe]\n");
    EXPECT_EQ(GlobalOffsetMs(), 0);
    EXPECT_EQ(SongOffsetMs(L"Etude"), 10);

    std::string error;
    ASSERT_TRUE(SetGlobalOffset(-500, &error)) << error;  // clamped
    EXPECT_EQ(Read("Timing.cfg"), "GlobalOffset[-300]\nDeviceLatency[1]\nErrorBar[1]\n");
    ASSERT_TRUE(SetSongOffset(L"Etude", 0, &error));
    ASSERT_TRUE(SetSongOffset(L"Other", 20, &error));
    EXPECT_EQ(Read("SongOffsets.txt"), "20\tOther\n");
    struct stat st {};
    ASSERT_EQ(stat("SongOffsets.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(TimingFiles, ASongStartsAtTheSumOfItsOffsetsAndTheDeviceLatency) {
    Timing& timing = GetTiming();
    timing.choices.globalOffsetMs = 20;
    timing.songOffsets[L"Etude"] = -5;
    timing.deviceLatencyMs = 11.5;
    EXPECT_DOUBLE_EQ(SongStartMs(L"Etude"), 26.5);
    EXPECT_DOUBLE_EQ(SongStartMs(L"Other"), 31.5);
    timing.runOffsetMs = -40;  // --offset replaces the remembered global offset this run
    EXPECT_DOUBLE_EQ(SongStartMs(L"Etude"), -33.5);
    timing.choices.deviceLatency = false;
    EXPECT_DOUBLE_EQ(SongStartMs(L"Etude"), -45.0);
    std::string error;
    ASSERT_TRUE(SetGlobalOffset(7, &error));  // a value the player sets ends it
    EXPECT_EQ(GlobalOffsetMs(), 7);
}
