// The autoplay over the Game scene: every chart of the demo content and dense charts of both
// lanes end all Perfect with 500 x notes + 50000, through the keyboard; nothing is pressed once
// the result is shown; and a run the autoplay played records no score.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "GameHarness.h"
#include "gameplay/Autoplay.h"
#include "support/HeadlessRun.h"

namespace gametest {
namespace {

// Value of a note that reaches the line in update u of the run (the song starts in 333).
std::string ValueAt(int64_t update, int bpm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(update - 332) * bpm / 348750.0);
    return text;
}

// A chart of BPM bpm crowded in both lanes: the same key two updates apart, the four keys in
// turn two updates apart, different keys one update apart, a pair of one key one update apart
// (the second waits for the key to come up), and the two lanes together and interleaved.
std::string DenseChart(int bpm, int* notes) {
    std::ostringstream chart;
    chart << "BPM[" << bpm << "]\nSecond[12]\n";
    const char* dirs = "URDL";
    int64_t u = 400;
    *notes = 0;
    auto note = [&](const char* lanes, char red, char blue) {
        chart << "[";
        if (lanes[0] == 'R') chart << "R" << red << (lanes[1] ? "," : "");
        if (lanes[0] == 'B' || lanes[1] == 'B') chart << "B" << blue << ",";
        chart << ValueAt(u, bpm) << "]\n";
        *notes += lanes[1] ? 2 : 1;
    };
    for (int i = 0; i < 12; ++i, u += 2) note("RB", 'U', 'L');  // one key, both lanes
    for (int i = 0; i < 16; ++i, u += 2) note("RB", dirs[i % 4], dirs[(i + 1) % 4]);
    for (int i = 0; i < 12; ++i, u += 1) note(i % 2 ? "R" : "B", dirs[i % 4], dirs[i % 4]);
    for (int i = 0; i < 8; ++i, u += 1) note("R", dirs[(i + 1) % 4], 'U');  // turns, 1 apart
    u += 3;
    note("RB", 'D', 'R');
    u += 1;
    note("RB", 'D', 'R');  // the same keys again one update later
    return chart.str();
}

class AutoplayRun : public GameHarness {
  protected:
    // Plays the written chart with the autoplay, one update per frame as the loop runs it,
    // until the result is complete (and a little beyond); returns the keys pressed after it.
    int PlayToTheEnd(int extraUpdates = 120) {
        Start();
        Autoplay autoplay;
        const int end = 812 + 60 * GetPlaySession().Second + 520;
        int pressedAfter = 0;
        while (updates < end + extraUpdates) {
            autoplay.BeforeUpdate();
            KeyInput::Get().Update();
            ++updates;
            if (GetRunScore().complete)
                for (uint32_t k : {kW, kA, kS, kD, kI, kJ, kK, kL})
                    pressedAfter += KeyInput::Get().IsKeyPressed(k);
            EXPECT_EQ(std::unique_ptr<Scene>(game->Update()), nullptr) << "update " << updates;
        }
        EXPECT_TRUE(GetRunScore().complete);
        return pressedAfter;
    }

    // Expects the run all Perfect over notes notes.
    static void ExpectAllPerfect(int notes, const std::string& what) {
        const RunScore& run = GetRunScore();
        EXPECT_EQ(run.perfect, notes) << what;
        EXPECT_EQ(run.great + run.ok + run.bad + run.miss, 0) << what;
        EXPECT_EQ(run.maxCombo, notes) << what;
        EXPECT_EQ(run.score, 500 * notes + 50000) << what;
    }
};

TEST_F(AutoplayRun, EveryDemoChartEndsAllPerfect) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    int charts = 0;
    for (const auto& song : std::filesystem::directory_iterator(DemoContentDir() / "Data/Music")) {
        for (const char* level : {"1", "2", "3"}) {
            const auto path = song.path() / (std::string(level) + ".nsd");
            if (!song.is_directory() || !std::filesystem::exists(path)) continue;
            std::ifstream in(path, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), {});
            WriteChart(text, L"Song", platform::Utf8ToWide(level));
            EXPECT_EQ(PlayToTheEnd(0), 0);
            ExpectAllPerfect(GetPlaySession().noteCount, path.string());
            EXPECT_GT(GetPlaySession().noteCount, 0);
            ++charts;
        }
    }
    EXPECT_EQ(charts, 9);
}

TEST_F(AutoplayRun, DenseNotesOfBothLanesEndAllPerfectAtAnyTempo) {
    for (int bpm : {37, 150, 600}) {
        int notes = 0;
        WriteChart(DenseChart(bpm, &notes) + "[RU 900]\n");  // a note that never comes
        sounds.clear();
        EXPECT_EQ(PlayToTheEnd(), 0) << "keys pressed after the result at BPM " << bpm;
        const RunScore& run = GetRunScore();
        EXPECT_EQ(run.perfect, notes) << "BPM " << bpm;
        EXPECT_EQ(run.great + run.ok + run.bad + run.miss, 0) << "BPM " << bpm;
        EXPECT_EQ(run.score, 500 * notes) << "the unplayed note keeps the bonus away";
    }
}

TEST_F(AutoplayRun, ItsRunRecordsNoScoreWhileAPlayersRunDoes) {
    int notes = 0;
    WriteChart(DenseChart(150, &notes));
    PlayToTheEnd(0);
    ExpectAllPerfect(notes, "recorded run");
    EXPECT_EQ(GetHighScore(L"Song", 0), 500 * notes + 50000);

    GetPlayerProfile() = PlayerProfile{};
    Start();
    game->recordsScore = false;
    Autoplay autoplay;
    while (!GetRunScore().complete && updates < 3000) {
        autoplay.BeforeUpdate();
        KeyInput::Get().Update();
        ++updates;
        game->Update();
    }
    ExpectAllPerfect(notes, "autoplay run");
    EXPECT_TRUE(GetPlayerProfile().records.empty());
    EXPECT_TRUE(GetPlayerProfile().stats.empty());
}

}  // namespace
}  // namespace gametest
