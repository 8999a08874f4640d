// Replays end to end through the headless program: a messy scripted run (early, late, missed,
// wrong-direction and held keys) is recorded, and played again by --headless --replay it ends
// with the same score, grades and longest combo on every demo chart at every level; with other
// keys bound; and refused when its chart or song changed or its file is damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "gameplay/ChartReader.h"
#include "platform/Codepage.h"
#include "selection/MusicList.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// The titles of a content folder's music list.
std::vector<std::wstring> Titles(const fs::path& content) {
    const fs::path back = fs::current_path();
    fs::current_path(content);
    std::vector<MusicEntry> entries;
    std::string error;
    EXPECT_TRUE(ReadMusicList(entries, error, [](const std::wstring&) { return true; })) << error;
    fs::current_path(back);
    std::vector<std::wstring> titles;
    for (const MusicEntry& e : entries) titles.push_back(e.title);
    return titles;
}

// A chart of a content folder, as the game reads it.
ChartContent Chart(const fs::path& content, const std::wstring& title, int level) {
    ChartContent chart;
    const fs::path path =
        content / "Data/Music" / platform::WideToUtf8(title) / (std::to_string(level) + ".nsd");
    EXPECT_TRUE(ReadChartFile(path.string(), chart).empty()) << path;
    return chart;
}

// From the title, plays entry index at level (0-based) the way a player who is often off
// would: some notes late or early, some missed, keys of the wrong direction pressed, a key held
// down for a while. Returns the script.
std::string MessyRun(const ChartContent& chart, int index, int level, unsigned seed) {
    PlayScript script;
    const uint64_t start = script.SelectFromTitle(index, level);
    PressPlan plan;
    const size_t notes = std::max(chart.redNotes.size(), chart.blueNotes.size());
    for (size_t i = 0; i < notes; ++i) {
        switch (i % 9) {
            case 1:
                plan.redOffset[i] = 5, plan.blueOffset[i] = -3;
                break;
            case 2:
                plan.redOffset[i] = -9, plan.blueOffset[i] = 4;
                break;
            case 3:
                plan.redSkip.push_back(i);
                break;
            case 4:
                plan.blueSkip.push_back(i), plan.redOffset[i] = -15;
                break;
            case 6:
                plan.blueOffset[i] = 8;
                break;
            default:
                break;
        }
    }
    std::mt19937 random(seed);
    const uint64_t end = start + 812 + 60 * uint64_t(chart.Second);
    const char* const keys[] = {"W", "A", "S", "D", "I", "J", "K", "L"};
    for (uint64_t f = start + 200; f < end; f += 20 + random() % 40) {
        const char* key = keys[random() % 8];
        if (random() % 5 == 0) {  // held for a while
            script.At(f, std::string("down ") + key);
            script.At(f + 30 + random() % 60, std::string("up ") + key);
        } else {
            script.At(f, std::string("press ") + key);
        }
    }
    script.Play(start, chart, plan);
    script.Wait(10);
    return script.Text();
}

// The one replay file a run left in the guest's folder since the ones listed in before.
fs::path NewReplay(const fs::path& work, std::vector<fs::path>& before) {
    fs::path found;
    for (const auto& e : fs::directory_iterator(work / "Replays/guest"))
        if (std::find(before.begin(), before.end(), e.path()) == before.end()) {
            EXPECT_TRUE(found.empty()) << "one replay per run";
            found = e.path();
        }
    before.push_back(found);
    return found;
}

// Checks a replay file headless; returns the exit status (output in run).
int Check(HeadlessRun& run, const fs::path& replay, const std::string& env = "") {
    return run.Run(
        "--headless --replay '" + replay.string() + "' --data '" + run.work.string() + "'",
        "LYRANDEL_BENCH_NULL_GPU=1 " + env);
}

class DemoReplay : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(DemoReplay, EveryLevelPlaysAgainExactly) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    const int index = GetParam();
    const std::vector<std::wstring> titles = Titles(run.work);
    ASSERT_LT(index, static_cast<int>(titles.size()));
    std::vector<fs::path> seen;
    for (int level = 1; level <= 3; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const ChartContent chart = Chart(run.work, titles[index], level);
        ASSERT_EQ(run.Play(MessyRun(chart, index, level - 1, 7 * level + index)), 0) << run.errors;
        const std::string played = run.output;
        ASSERT_EQ(played.rfind("result: ", 0), 0u) << played;
        EXPECT_EQ(played.find("Miss 0\n"), std::string::npos) << "a messy run misses notes";
        EXPECT_EQ(played.find("Great 0,"), std::string::npos) << played;
        const fs::path replay = NewReplay(run.work, seen);
        ASSERT_FALSE(replay.empty());

        EXPECT_EQ(Check(run, replay), 0) << run.errors;
        EXPECT_EQ(run.output, played + "replay matches\n");
        EXPECT_EQ(run.errors, "");
    }
    EXPECT_EQ(seen.size(), 3u) << "a watched replay is not recorded again";
}

INSTANTIATE_TEST_SUITE_P(EverySong, DemoReplay, ::testing::Values(0, 1, 2));

TEST(Replay, OtherKeysBoundNowPlayTheSameRun) {
    HeadlessRun run(kMinimal);
    // Red lane on the arrows, blue Left on the left Shift.
    std::ofstream(run.work / "Keys.cfg")
        << "RedUp[0x26]\nRedRight[0x27]\nRedDown[0x28]\nRedLeft[0x25]\nBlueLeft[0xA0]\n";
    const ChartContent chart = Chart(run.work, L"Etude", 1);
    std::string script = MessyRun(chart, 0, 0, 11);
    for (auto [from, to] :
         {std::pair{"W", "0x26"}, {"D", "0x27"}, {"S", "0x28"}, {"A", "0x25"}, {"J", "0xA0"}})
        for (size_t at = 0;
             (at = script.find(std::string(" ") + from + "\n", at)) != std::string::npos;)
            script.replace(at + 1, 1, to), at += 2;
    ASSERT_EQ(run.Play(script), 0) << run.errors;
    const std::string played = run.output;
    EXPECT_NE(played.find("Perfect "), std::string::npos);
    std::vector<fs::path> seen;
    const fs::path replay = NewReplay(run.work, seen);
    std::ifstream in(replay);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("\nKeys[26 27 28 25 49 4C 4B A0]\n"), std::string::npos) << text;

    fs::remove(run.work / "Keys.cfg");  // the default keys now
    EXPECT_EQ(Check(run, replay), 0) << run.errors;
    EXPECT_EQ(run.output, played + "replay matches\n");
    std::ofstream(run.work / "Keys.cfg") << "RedUp[0x41]\nRedLeft[0x57]\nBlueUp[0x31]\n";
    EXPECT_EQ(Check(run, replay), 0) << run.errors;
    EXPECT_EQ(run.output, played + "replay matches\n");
}

TEST(Replay, AChangedChartOrSongOrADamagedFileIsRefused) {
    HeadlessRun run(kMinimal);
    const ChartContent chart = Chart(run.work, L"Etude", 1);
    ASSERT_EQ(run.Play(MessyRun(chart, 0, 0, 5)), 0) << run.errors;
    std::vector<fs::path> seen;
    const fs::path replay = NewReplay(run.work, seen);
    std::ifstream in(replay);
    const std::string text((std::istreambuf_iterator<char>(in)), {});

    // Another outcome on record: the run is played and the difference reported.
    std::string other = text;
    const size_t score = other.find("\nScore[") + 7;
    other.replace(score, other.find(']', score) - score, "123");
    std::ofstream(run.work / "other.lrp") << other;
    EXPECT_EQ(Check(run, run.work / "other.lrp"), 1);
    EXPECT_NE(run.output.find("\nreplay differs: recorded 123, now "), std::string::npos)
        << run.output;

    std::string damaged = text;
    damaged.replace(damaged.find("\nLevel[1]"), 9, "\nLevel[x]");
    std::ofstream(run.work / "damaged.lrp") << damaged;
    EXPECT_EQ(Check(run, run.work / "damaged.lrp"), 1);
    EXPECT_EQ(run.errors, "lyrandel: " + (run.work / "damaged.lrp").string() +
                              ":4: Level is not a whole number from 1 to 3: \"x\"\n");
    EXPECT_EQ(run.output, "");

    std::ofstream(run.work / "Data/Music/Etude/Etude.wav", std::ios::app) << '\0';
    EXPECT_EQ(Check(run, replay), 1);
    EXPECT_NE(run.errors.find("the song of \"Etude\" has changed since the replay was recorded"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(run.output, "");

    std::ofstream(run.work / "Data/Music/Etude/1.nsd", std::ios::app) << "\n";
    EXPECT_EQ(Check(run, replay), 1);
    EXPECT_EQ(run.errors,
              "lyrandel: the replay cannot be played: the chart of \"Etude\" level 1 has changed "
              "since the replay was recorded; it would not play the same\n");
}

TEST(Replay, PressTimesAndOffsetsAreKeptAndPlayedBack) {
    HeadlessRun run(kMinimal);
    std::ofstream(run.work / "SongOffsets.txt") << "-15\tEtude\n";
    const ChartContent chart = Chart(run.work, L"Etude", 1);
    std::string script = MessyRun(chart, 0, 0, 3);
    // Every press 7.5 ms into its update; the menu keys too, which changes nothing of them.
    for (size_t at = 0; (at = script.find(" press ", at)) != std::string::npos;) {
        const size_t end = script.find('\n', at);
        script.insert(end, " @7.5");
        at = end;
    }
    ASSERT_EQ(run.Play(script, "--offset 20"), 0) << run.errors;
    const std::string played = run.output;
    std::vector<fs::path> seen;
    const fs::path replay = NewReplay(run.work, seen);
    std::ifstream in(replay);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("\nOffset[20]\nSongOffset[-15]\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" d 57 @7.5\n"), std::string::npos) << "a W press keeps its time";
    EXPECT_EQ(text.find(" u 57 @"), std::string::npos) << "a release has no time of its own";

    // Played again where other offsets are in force: the same run, nothing refused.
    std::ofstream(run.work / "SongOffsets.txt", std::ios::trunc) << "";
    EXPECT_EQ(Check(run, replay), 0) << run.errors;
    EXPECT_EQ(run.output, played + "replay matches\n");
}
