// Lanes, the two-update rule, the values written, and the level choice.
#include <gtest/gtest.h>

#include "../gameplay/GameHarness.h"
#include "import/ChartConversion.h"
#include "import/LevelChoice.h"

using namespace importer;

namespace {

// "R3" style names of places: lane letter and direction number.
std::vector<std::string> Names(const std::vector<LanePlace>& places) {
    std::vector<std::string> names;
    for (const LanePlace& p : places)
        names.push_back((p.lane == Lane::kRed ? "R" : "B") + std::to_string(p.direction));
    return names;
}

// A tap at seconds in column.
SourceNote Tap(double seconds, int column) { return {seconds, column, NoteKind::kTap}; }

// An update expressed in seconds.
double U(double updates) { return updates / 62.5; }

}  // namespace

TEST(LaneMapping, ColumnTable) {
    // Directions: 0 Up, 1 Right, 2 Down, 3 Left.
    EXPECT_EQ(Names(LanePlaces(8)),
              (std::vector<std::string>{"R3", "R2", "R0", "R1", "B3", "B2", "B0", "B1"}));
    EXPECT_EQ(Names(LanePlaces(4)), (std::vector<std::string>{"R3", "R2", "B0", "B1"}));
    EXPECT_EQ(Names(LanePlaces(5)), (std::vector<std::string>{"R3", "R2", "R0", "B3", "B2"}));
    EXPECT_EQ(Names(LanePlaces(6)), (std::vector<std::string>{"R3", "R2", "R0", "B3", "B2", "B0"}));
    EXPECT_EQ(Names(LanePlaces(7)),
              (std::vector<std::string>{"R3", "R2", "R0", "R1", "B3", "B2", "B0"}));
    EXPECT_TRUE(LanePlaces(3).empty());
    EXPECT_TRUE(LanePlaces(9).empty());
}

TEST(LaneMapping, TooCloseNotesMoveKeepingDirectionOrAreDropped) {
    const auto places = LanePlaces(8);
    PlacementCounts counts;
    const auto placed =
        PlaceNotes({Tap(U(10), 0), Tap(U(10), 1),  // a red jump: Down moves to blue
                    Tap(U(11), 2),                 // both lanes taken within 2 updates: dropped
                    Tap(U(13), 4),                 // blue again 3 updates later: stays
                    Tap(U(14), 5),   // blue 1 update on: moves to red, 4 after its last
                    Tap(U(16), 3)},  // red 2 updates after the moved one: stays
                   places, counts);
    ASSERT_EQ(placed.size(), 5u);
    EXPECT_EQ(Names({placed[1].place}), std::vector<std::string>{"B2"});
    EXPECT_EQ(Names({placed[2].place}), std::vector<std::string>{"B3"});
    EXPECT_EQ(Names({placed[3].place}), std::vector<std::string>{"R2"});
    EXPECT_EQ(Names({placed[4].place}), std::vector<std::string>{"R1"});
    EXPECT_EQ(counts.moved, 2);
    EXPECT_EQ(counts.tooClose, 1);
}

TEST(ChartConversion, ValuesBpmSecondAndWhatTheAudioDoesNotCover) {
    SourceChart chart;
    chart.columns = 4;
    chart.tempo = 1000.4;  // kept within 600
    chart.notes = {
        Tap(-0.01, 0), Tap(0.0, 0), {1.0, 2, NoteKind::kHold}, Tap(2.5, 1), Tap(30.0, 3)};
    chart.leftOut.mines = 2;
    const ConvertedChart out = ConvertChart(chart, 29.2);
    EXPECT_EQ(out.bpm, 600);
    EXPECT_EQ(out.second, 25);
    EXPECT_EQ(out.report.notes, 3);
    EXPECT_EQ(out.report.beforeAudio, 1);
    EXPECT_EQ(out.report.afterAudio, 1);
    EXPECT_EQ(ChartFileText(out),
              "BPM[600]\nSecond[25]\n[RL 0.0017204301]\n[BU 0.10924731]\n"
              "[RD 0.27053764]\n");
    EXPECT_EQ(ReportText(out.report),
              "3 notes; 1 hold as a tap; 1 dropped (before the audio starts); 1 dropped (after the "
              "audio ends); 2 mines left out");
    // The value brings the note to the hit line in the update that plays its sound.
    EXPECT_NEAR(348750.0 * NoteValue(2.5, 150) / 150 - 1, 2.5 * 62.5, 1e-9);
    EXPECT_EQ(ChartBpm(0.6), 1);
    EXPECT_EQ(ChartBpm(-5), 120);
}

namespace {

// A chart for the level choice.
SourceChart Chart(int columns, int rank, int meter, double nps = 0, bool beatmap = false) {
    SourceChart c;
    c.columns = columns;
    c.rank = rank;
    c.meter = meter;
    c.notesPerSecond = nps;
    c.fromBeatmap = beatmap;
    c.notes = {Tap(1, 0)};
    return c;
}

}  // namespace

TEST(LevelChoice, PreferredColumnsThenEasiestMiddleHardest) {
    std::vector<SourceChart> charts = {Chart(4, 1, 3), Chart(8, 4, 12), Chart(8, 1, 4),
                                       Chart(8, 3, 9), Chart(8, 3, 8),  Chart(8, 2, 6),
                                       Chart(9, 0, 1)};
    EXPECT_EQ(ChooseLevels(charts), (std::vector<size_t>{2, 4, 1}));
    charts.erase(charts.begin() + 1, charts.begin() + 6);  // a 4-column and a 9-column chart
    EXPECT_EQ(ChooseLevels(charts), std::vector<size_t>{0});
    charts[0].columns = 6;
    EXPECT_EQ(ChooseLevels(charts), std::vector<size_t>{0});
    charts[0].columns = 3;
    EXPECT_TRUE(ChooseLevels(charts).empty());

    const std::vector<SourceChart> maps = {Chart(7, 0, 0, 5.2, true), Chart(7, 0, 0, 2.0, true)};
    EXPECT_EQ(ChooseLevels(maps), (std::vector<size_t>{1, 0}));
    EXPECT_EQ(LevelRating(maps[0]), 6);
    EXPECT_EQ(LevelRating(Chart(7, 0, 0, 0.2, true)), 1);
    EXPECT_EQ(LevelRating(Chart(8, 3, 0)), 1);
    EXPECT_EQ(LevelRating(Chart(8, 3, 11)), 11);
}

namespace {

// The key of a red-lane direction: Up W, Right D, Down S, Left A.
uint32_t RedKey(int32_t direction) {
    static constexpr uint32_t kKeys[4] = {gametest::kW, gametest::kD, gametest::kS, gametest::kA};
    return kKeys[direction & 3];
}

class ChartLength : public gametest::GameHarness {};

}  // namespace

TEST(ChartConversion, SecondIsTheShortestPlayThatOutlastsTheAudio) {
    EXPECT_EQ(ChartSecond(200.5), 203);
    EXPECT_EQ(ChartSecond(14.5), 10);
    // 359 + 60 x 10 updates are exactly 15.344 s: that length needs 10, a hair more 11.
    EXPECT_EQ(ChartSecond(15.344), 10);
    EXPECT_EQ(ChartSecond(15.3441), 11);
    EXPECT_EQ(ChartSecond(5.0), 0);
    EXPECT_EQ(ChartSecond(0.0), 0);
}

// The game's own counters on a converted long song: the note at the audio's last moment still
// reaches the hit line and is judged.
TEST_F(ChartLength, TheLastNoteOfALongSongIsJudged) {
    SourceChart chart;
    chart.columns = 4;
    chart.tempo = 150;
    chart.notes = {Tap(1.0, 0), Tap(200.49, 0)};
    const ConvertedChart converted = ConvertChart(chart, 200.5);
    WriteChart(ChartFileText(converted));
    Start();
    const float reach = gametest::Unit(converted.bpm);
    for (int guard = 0; guard < 20000 && !Red().empty(); ++guard) {
        if (Red().front().distance <= reach && Red().front().distance > -reach) {
            Next({RedKey(Red().front().direction)});
            Next();  // a gap, so the next press is a new one
        } else {
            ASSERT_EQ(Next(), nullptr);
        }
    }
    EXPECT_TRUE(Red().empty()) << "a note left unjudged at update " << updates;
    EXPECT_LE(updates, 692 + 60 * converted.second + 2);
}
