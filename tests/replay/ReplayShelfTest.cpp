// Replay shelf: which runs a folder keeps (each chart's best and the last 50), the files and
// folders it writes (private), damaged replays set aside, and a write cut short by a crash.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "../settings/WorkFolder.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayShelf.h"

namespace {

// A run of a chart at a time (minutes after a fixed hour) with a score.
ShelvedRun StoredRun(const std::wstring& title, int minute, int score,
                     const std::string& digest = "d") {
    char date[32];
    std::snprintf(date, sizeof date, "2024-05-01T%02d:%02d:00Z", 10 + minute / 60, minute % 60);
    return {std::string("r") + std::to_string(minute), date, title, 1, digest, score};
}

// A replay of a chart finished at minute with score.
Replay Finished(const std::wstring& title, int minute, int score, const std::wstring& account) {
    const ShelvedRun run = StoredRun(title, minute, score);
    Replay r;
    r.game = "0.1.0";
    r.title = title;
    r.chartDigest = std::string(64, 'c');
    r.bpm = 120;
    r.account = account;
    r.date = run.date;
    r.outcome.score = score;
    return r;
}

// File mode bits of a path.
unsigned Mode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

// Ends the process as a crash would, just before the new replay takes its name.
bool CrashBeforeRename(const char* step) {
    if (std::string(step) == "rename") ::_exit(3);
    return true;
}

class Shelf : public WorkFolder {};

}  // namespace

TEST(ReplayShelfRule, KeepsTheLastRunsAndEachChartsBest) {
    std::vector<ShelvedRun> runs;
    runs.push_back(StoredRun(L"A", 0, 900));           // A's best, old
    runs.push_back(StoredRun(L"A", 1, 900));           // as good but later: goes
    runs.push_back(StoredRun(L"B", 2, 100));           // B's only run, old: stays as its best
    runs.push_back(StoredRun(L"A", 3, 500));           // old and not the best: goes
    runs.push_back(StoredRun(L"A", 4, 950, "other"));  // best of another version of A's chart
    runs.push_back(StoredRun(L"A", 5, 10));            // recent
    runs.push_back(StoredRun(L"A", 6, 20));            // recent
    EXPECT_EQ(RunsToDrop(runs, 2), (std::vector<size_t>{1, 3}));
    EXPECT_TRUE(RunsToDrop(runs, 50).empty());
    EXPECT_TRUE(RunsToDrop({}, 50).empty());
}

TEST_F(Shelf, FiftyRunsAndTheBestStayInPrivateFiles) {
    std::string path, error;
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 0, 5000, L"P1"), &path, &error)) << error;
    EXPECT_EQ(path, "Replays/P1/20240501-100000.lrp");
    EXPECT_EQ(Mode("Replays"), 0700u);
    EXPECT_EQ(Mode("Replays/P1"), 0700u);
    EXPECT_EQ(Mode(path), 0600u);
    for (int minute = 1; minute <= 60; ++minute)
        ASSERT_TRUE(ShelveReplay(Finished(L"Song", minute, minute, L"P1"), &path, &error)) << error;
    const std::vector<std::string> names = Entries("Replays/P1");
    ASSERT_EQ(names.size(), 51u);
    EXPECT_EQ(names.front(), "20240501-100000.lrp") << "the best run stays";
    EXPECT_EQ(names[1], "20240501-101100.lrp") << "the 50 latest stay";
    EXPECT_EQ(names.back(), "20240501-110000.lrp");

    Replay best;
    ASSERT_TRUE(FindBestReplay(L"P1", L"Song", 1, std::string(64, 'c'), &best));
    EXPECT_EQ(best.outcome.score, 5000);
    EXPECT_FALSE(FindBestReplay(L"P1", L"Song", 1, std::string(64, 'e'), &best))
        << "a replay of another chart is never the best of this one";
    EXPECT_FALSE(FindBestReplay(L"", L"Song", 1, std::string(64, 'c'), &best));
}

TEST_F(Shelf, GuestsRunsOfOneSecondAndDamagedFilesStayApart) {
    std::string first, second, error;
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 0, 1, L""), &first, &error)) << error;
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 0, 2, L""), &second, &error)) << error;
    EXPECT_EQ(first, "Replays/guest/20240501-100000.lrp");
    EXPECT_EQ(second, "Replays/guest/20240501-100000-2.lrp");
    EXPECT_EQ(ReplayFolder(L".."), "Replays/_..");

    Write("Replays/guest/broken.lrp", "LyrandelReplay[1]\nGame[");
    ::testing::internal::CaptureStderr();
    Replay best;
    ASSERT_TRUE(FindBestReplay(L"", L"Song", 1, std::string(64, 'c'), &best));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(best.outcome.score, 2);
    EXPECT_EQ(
        said,
        "lyrandel: Replays/guest/broken.lrp:2: the file is cut short (no line feed at its end) "
        "(the file is kept as "
        "Replays/guest/broken.lrp.damaged)\n");
    EXPECT_EQ(Read("Replays/guest/broken.lrp.damaged"), "LyrandelReplay[1]\nGame[");

    // Shelving a run passes over the damaged files the same way.
    Write("Replays/guest/empty.lrp", "");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 1, 3, L""), &second, &error)) << error;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "lyrandel: Replays/guest/empty.lrp:1: the file ends before its \"End\" line "
              "(the file is kept as Replays/guest/empty.lrp.damaged)\n");
    EXPECT_EQ(Entries("Replays/guest"),
              (std::vector<std::string>{"20240501-100000-2.lrp", "20240501-100000.lrp",
                                        "20240501-100100.lrp", "broken.lrp.damaged",
                                        "empty.lrp.damaged"}));
}

TEST_F(Shelf, ACrashWhileAReplayIsWrittenLeavesTheKeptOnesWhole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string path, error;
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 0, 7, L"P1"), &path, &error)) << error;
    const std::string kept = Read(path);
    EXPECT_EXIT(
        {
            platform::SetAtomicWriteHookForTesting(CrashBeforeRename);
            ShelveReplay(Finished(L"Song", 1, 8, L"P1"), &path, &error);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(Read("Replays/P1/20240501-100000.lrp"), kept);
    EXPECT_FALSE(std::filesystem::exists("Replays/P1/20240501-100100.lrp"));
    // What the crash left behind is no replay: the shelf goes on without it.
    ASSERT_TRUE(ShelveReplay(Finished(L"Song", 2, 9, L"P1"), &path, &error)) << error;
    Replay best;
    ASSERT_TRUE(FindBestReplay(L"P1", L"Song", 1, std::string(64, 'c'), &best));
    EXPECT_EQ(best.outcome.score, 9);
    EXPECT_EQ(Entries("Replays/P1"),
              (std::vector<std::string>{"20240501-100000.lrp", "20240501-100200.lrp"}));
}
