// Replay format: what the writer writes reads back the same, and every kind of damage or
// hostile value is refused with the file, the line and the reason.
#include <gtest/gtest.h>

#include <string>

#include "replay/ReplayFile.h"

namespace {

// A small replay with every field away from its default.
Replay Sample() {
    Replay r;
    r.game = "0.1.0";
    r.title = L"星の歌 ]x";
    r.level = 3;
    r.chartDigest = std::string(64, 'a');
    r.songSize = 123456;
    r.bpm = 150;
    r.second = 70;
    r.hitGap = 0.01f;
    r.keys = {0x26, 0x27, 0x28, 0x25, 0xBA, 0x60, 0xA0, 0x7B};
    r.account = L"P1";
    r.date = "2024-05-01T18:30:05Z";
    r.outcome = {54500, 9, 7, 1, 0, 1, 0};
    r.events = {{334, 0x26, true, {}},
                {335, 0x26, false, 3.5f},
                {335, 0xA0, true, {}},
                {900, 0xA0, false, {}}};
    return r;
}

// The sample's text with one line replaced (1-based line number).
std::string WithLine(int line, const std::string& text) {
    std::string all = FormatReplay(Sample());
    size_t start = 0;
    for (int i = 1; i < line; ++i) start = all.find('\n', start) + 1;
    const size_t end = all.find('\n', start);
    return all.replace(start, end - start, text);
}

}  // namespace

TEST(ReplayFile, WhatIsWrittenReadsBackTheSame) {
    const Replay sample = Sample();
    const std::string text = FormatReplay(sample);
    EXPECT_EQ(text.substr(0, 18), "LyrandelReplay[1]\n");
    EXPECT_NE(text.find("\nKeys[26 27 28 25 BA 60 A0 7B]\n"), std::string::npos);
    EXPECT_NE(text.find("\n335 u 26 @3.5\n335 d A0\n"), std::string::npos);
    Replay read;
    std::string error;
    ASSERT_TRUE(ParseReplay(text, "r.lrp", &read, &error)) << error;
    EXPECT_EQ(read, sample);
    EXPECT_EQ(FormatReplay(read), text);

    Replay guest = sample;  // a guest, no events, offsets and extreme values
    guest.account.clear();
    guest.events.clear();
    guest.songSize = -1;
    guest.hitGap = -1.9999999f;
    guest.outcome.score = -5;
    ASSERT_TRUE(ParseReplay(FormatReplay(guest), "g.lrp", &read, &error)) << error;
    EXPECT_EQ(read, guest);
}

TEST(ReplayFile, DamageIsRefusedWithItsLineAndReason) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string good = FormatReplay(Sample());
    const std::vector<Case> cases = {
        {"", "r.lrp:1: the file ends before its \"End\" line"},
        {good.substr(0, good.size() - 1),
         "r.lrp:23: the file is cut short (no line feed at its end)"},
        {good.substr(0, good.find("335 d A0")), "r.lrp:21: the file ends before its \"End\" line"},
        {WithLine(1, "LyrandelReplay[2]"),
         "r.lrp:1: replay format \"2\" is not known (this game reads 1)"},
        {WithLine(2, "Title[x]"), "r.lrp:2: expected Game[...]"},
        {WithLine(3, "Title[../etc]"), "r.lrp:3: Title holds \"/\", \"\\\" or \"..\""},
        {WithLine(3, "Title[\xff]"), "r.lrp:3: Title is not a song title"},
        {WithLine(4, "Level[4]"), "r.lrp:4: Level is not a whole number from 1 to 3: \"4\""},
        {WithLine(4, "Level[03]"), "r.lrp:4: Level is not a whole number from 1 to 3: \"03\""},
        {WithLine(5, "Chart[ABC]"),
         "r.lrp:5: Chart is not a SHA-256 digest (64 lower-case hexadecimal digits)"},
        {WithLine(7, "BPM[0]"), "r.lrp:7: BPM is not a whole number from 1 to 600: \"0\""},
        {WithLine(9, "HitGap[nan]"),
         "r.lrp:9: HitGap is not a number as this game writes one: \"nan\""},
        {WithLine(9, "HitGap[0.0100]"),
         "r.lrp:9: HitGap is not a number as this game writes one: \"0.0100\""},
        {WithLine(12, "Keys[26 26 28 25 BA 60 A0 7B]"),
         "r.lrp:12: Keys holds 26, which cannot play a lane"},
        {WithLine(12, "Keys[20 27 28 25 BA 60 A0 7B]"),
         "r.lrp:12: Keys holds 20, which cannot play a lane"},
        {WithLine(12, "Keys[26 27]"), "r.lrp:12: Keys does not hold eight key codes"},
        {WithLine(13, "Account[a/b]"), "r.lrp:13: Account is not an account name"},
        {WithLine(14, "Date[yesterday]"),
         "r.lrp:14: Date is not a time written as YYYY-MM-DDTHH:MM:SSZ"},
        {WithLine(17, "Grades[7 1 0 1]"), "r.lrp:17: Grades does not hold five counts"},
        {WithLine(18, "Events[9999999]"),
         "r.lrp:18: Events is not a whole number from 0 to 2000000: \"9999999\""},
        {WithLine(19, "334 x 26"), "r.lrp:19: expected an event \"UPDATE d|u KEY\""},
        {WithLine(19, "0 d 26"), "r.lrp:19: expected an event \"UPDATE d|u KEY\""},
        {WithLine(19, "334 d 41"), "r.lrp:19: key 41 is not one of the lane keys"},
        {WithLine(19, "334 u 26"), "r.lrp:19: key 26 goes up while up"},
        {WithLine(20, "333 u 26"), "r.lrp:20: events out of update order"},
        {WithLine(20, "335 u 26 @16"),
         "r.lrp:20: the time of an event is not 0 to 16 ms into its update"},
        {WithLine(23, "Fin"), "r.lrp:23: expected \"End\" after the events"},
        {good + "more\n", "r.lrp:24: text after \"End\""},
        {WithLine(6, "SongSize[1]\r"), "r.lrp:6: carriage return in a line"},
        {WithLine(2, "Game[" + std::string(5000, 'x') + "]"),
         "r.lrp:2: line longer than 4096 bytes"},
    };
    for (const Case& c : cases) {
        Replay read;
        std::string error;
        EXPECT_FALSE(ParseReplay(c.text, "r.lrp", &read, &error)) << c.message;
        EXPECT_EQ(error, c.message);
    }
}

TEST(ReplayFile, AFileThatIsNoReplayIsRefusedWithoutReadingIt) {
    Replay read;
    std::string error;
    EXPECT_FALSE(ReadReplayFile("/dev/zero", &read, &error));
    EXPECT_EQ(error, "/dev/zero: not a replay file");
    EXPECT_FALSE(ReadReplayFile("/nonexistent/x.lrp", &read, &error));
    EXPECT_EQ(error, "/nonexistent/x.lrp: no such file");
}
