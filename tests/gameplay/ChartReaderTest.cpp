// Tests of the chart grammar, the note distances in single precision and the chart problems.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gameplay/ChartReader.h"

namespace {

struct Parsed {
    ChartContent chart;
    std::vector<std::string> problems;
};

// Parses text as chart "c.nsd", starting from the given tempo and length.
Parsed Parse(const std::string& text, int32_t bpm = 150, int32_t second = 0) {
    Parsed p;
    p.chart.BPM = bpm;
    p.chart.Second = second;
    p.problems = ParseChart(text, "c.nsd", p.chart);
    return p;
}

// Distance of value v at the given tempo, in the loader's order of operations.
float Distance(float v, int32_t bpm) {
    float u = (static_cast<float>(bpm) * 0.006f) / 1350.0f;
    return v * 1.55f + u * 62.0f;
}

TEST(ChartReader, EntriesAndNoteBodies) {
    Parsed p = Parse("BPM[150]\nSecond[90] any text\n[RU 2.5]\n[BL 2.5]\n[RD,BU,4]\n");
    ASSERT_TRUE(p.problems.empty()) << p.problems[0];
    EXPECT_EQ(p.chart.BPM, 150);
    EXPECT_EQ(p.chart.Second, 90);
    ASSERT_EQ(p.chart.redNotes.size(), 2u);
    ASSERT_EQ(p.chart.blueNotes.size(), 2u);
    EXPECT_EQ(p.chart.redNotes[0].direction, 0);
    EXPECT_EQ(p.chart.redNotes[0].distance, Distance(2.5f, 150));
    EXPECT_EQ(p.chart.blueNotes[0].direction, 3);
    EXPECT_EQ(p.chart.redNotes[1].direction, 2);
    EXPECT_EQ(p.chart.blueNotes[1].direction, 0);
    EXPECT_EQ(p.chart.redNotes[1].distance, p.chart.blueNotes[1].distance);
}

TEST(ChartReader, DistanceIsSinglePrecisionInOrder) {
    // 7.3 at BPM 150 differs in its last bit when computed in double.
    Parsed p = Parse("BPM[150]\n[RR 7.3]\n");
    ASSERT_EQ(p.chart.redNotes.size(), 1u);
    EXPECT_EQ(p.chart.redNotes[0].distance, 0x1.6b6714p+3f);
    EXPECT_EQ(p.chart.redNotes[0].direction, 1);
}

TEST(ChartReader, SeparatorsAndLoneBlue) {
    Parsed p = Parse("[RU,1]\n[RU 1]\n[BD 1]\n[RL;BR:1]\n");
    ASSERT_EQ(p.chart.redNotes.size(), 3u);
    EXPECT_EQ(p.chart.redNotes[0].distance, p.chart.redNotes[1].distance);
    EXPECT_EQ(p.chart.redNotes[2].direction, 3);
    ASSERT_EQ(p.chart.blueNotes.size(), 2u);
    EXPECT_EQ(p.chart.blueNotes[0].direction, 2);
    EXPECT_EQ(p.chart.blueNotes[1].direction, 1);
}

TEST(ChartReader, HeadsAreExactAndRunOverLineEnds) {
    // A blank line joins the next head; small letters and blanks make unknown heads.
    Parsed p = Parse("\nBPM[300]\nbpm[200]\nBPM [250]\n# comment\n[RU 1]\n[RD 2]\n", 120);
    EXPECT_EQ(p.chart.BPM, 120);
    ASSERT_EQ(p.chart.redNotes.size(), 1u);  // the comment swallowed the first note
    EXPECT_EQ(p.chart.redNotes[0].direction, 2);
}

TEST(ChartReader, EachNoteUsesTheTempoReadBeforeIt) {
    Parsed p = Parse("[RU 1]\nBPM[100]\n[RU 1]\nBPM[200]\n[RU 1]\n", 0);
    ASSERT_TRUE(p.problems.empty());
    EXPECT_EQ(p.chart.BPM, 200);
    ASSERT_EQ(p.chart.redNotes.size(), 3u);
    EXPECT_EQ(p.chart.redNotes[0].distance, 1.55f);  // no tempo yet: offset 0
    EXPECT_EQ(p.chart.redNotes[1].distance, Distance(1.0f, 100));
    EXPECT_EQ(p.chart.redNotes[2].distance, Distance(1.0f, 200));
}

TEST(ChartReader, LineEndsAndTheEndOfTheFile) {
    Parsed crlf = Parse("BPM[140]\r\nSecond[30]\r\n[RU 1]\r\n");
    EXPECT_TRUE(crlf.problems.empty());
    EXPECT_EQ(crlf.chart.Second, 30);
    EXPECT_EQ(crlf.chart.redNotes.size(), 1u);
    // A value cut by the end still counts; a head cut by the end does not.
    EXPECT_EQ(Parse("Second[45").chart.Second, 45);
    EXPECT_EQ(Parse("Second[45]\nSecond").chart.Second, 45);
    Parsed empty = Parse("");
    EXPECT_TRUE(empty.problems.empty());
    EXPECT_TRUE(empty.chart.redNotes.empty());
}

TEST(ChartReader, UnknownDirectionsAreDropped) {
    Parsed p = Parse("[RX 1]\n[RX,BU,2]\n[R  1]\n[BZ 3]\n", 150);
    EXPECT_TRUE(p.problems.empty()) << p.problems[0];
    EXPECT_TRUE(p.chart.redNotes.empty());
    ASSERT_EQ(p.chart.blueNotes.size(), 1u);
    EXPECT_EQ(p.chart.blueNotes[0].direction, 0);
}

TEST(ChartReader, BadNumbersAreReportedWithTheirLines) {
    Parsed p = Parse(
        "BPM[150]\nSecond[x]\n[RU 1e39]\n[RU]\nSecond[99999999999]\n[RU 2]\n[RU nan]\n"
        "[BD -inf]\n[RU 3e38]\n[RU 0x1p2]\n");
    ASSERT_EQ(p.problems.size(), 7u);
    EXPECT_EQ(p.problems[0], "c.nsd:2: Second \"x\": not a number");
    EXPECT_EQ(p.problems[1], "c.nsd:3: note value \"1e39\": out of range");
    EXPECT_EQ(p.problems[2], "c.nsd:4: note value \"\": not a number");
    EXPECT_EQ(p.problems[3], "c.nsd:5: Second \"99999999999\": out of range");
    EXPECT_EQ(p.problems[4], "c.nsd:7: note value \"nan\": not a number");
    EXPECT_EQ(p.problems[5], "c.nsd:8: note value \"-inf\": not a number");
    EXPECT_EQ(p.problems[6], "c.nsd:9: note value \"3e38\": out of range");  // once scaled
    // Reading goes on after a bad number; a hexadecimal value reads as the standard reads it.
    ASSERT_EQ(p.chart.redNotes.size(), 2u);
    EXPECT_EQ(p.chart.redNotes[1].distance, Distance(4.0f, 150));
}

TEST(ChartReader, FieldsOfUpTo259Characters) {
    std::string fits(259, 'x'), over(260, 'x');
    EXPECT_TRUE(Parse(fits + "[\n[RU " + std::string(254, '0') + "1]").problems.empty());
    Parsed head = Parse("BPM[150]\n" + over + "[\n[RU 1]\n");
    ASSERT_EQ(head.problems.size(), 1u);
    EXPECT_EQ(head.problems[0], "c.nsd:2: a head without \"[\" of 260 characters or more");
    EXPECT_TRUE(head.chart.redNotes.empty());  // the scan ends there
    Parsed body = Parse("BPM[150]\n[RU " + std::string(257, '1') + "]\n");
    ASSERT_EQ(body.problems.size(), 1u);
    EXPECT_EQ(body.problems[0], "c.nsd:2: a note body of 260 characters or more");
    // Trailing text without "[" counts too.
    EXPECT_EQ(Parse("[RU 1]\n" + over).problems.size(), 1u);
}

TEST(ChartReader, TempoMustBePlayable) {
    EXPECT_TRUE(Parse("BPM[1]\n", 0).problems.empty());
    EXPECT_TRUE(Parse("BPM[600]\n", 0).problems.empty());
    Parsed fast = Parse("BPM[150]\nBPM[601]\n");
    ASSERT_EQ(fast.problems.size(), 1u);
    EXPECT_EQ(fast.problems[0], "c.nsd:2: BPM 601 is outside 1 to 600");
    EXPECT_EQ(Parse("BPM[0]\n").problems.size(), 1u);
    Parsed none = Parse("[RU 1]\n", 0);
    ASSERT_EQ(none.problems.size(), 1u);
    EXPECT_EQ(none.problems[0], "c.nsd:1: no \"BPM\" entry (a chart needs a BPM of 1 to 600)");
    // Without an entry the tempo of the chart loaded before stands.
    EXPECT_TRUE(Parse("[RU 1]\n", 150).problems.empty());
}

TEST(ChartReader, FilesThatCannotBeOpened) {
    ChartContent chart;
    auto problems = ReadChartFile("/nonexistent/Data/Music/x/1.nsd", chart);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "/nonexistent/Data/Music/x/1.nsd: cannot open the chart file");
}

}  // namespace
