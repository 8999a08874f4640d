// Play statistics: counts and marks of complete runs, their file beside the save file, a
// damaged file set aside without touching a sign-in or the scores, and a write killed at any
// step leaving each file whole.
#include <sys/stat.h>
#include <sys/wait.h>

#include "WorkFolder.h"
#include "settings/PlayStats.h"

namespace {

using PlayStats = WorkFolder;

// The account's statistics file lines without the header, for compact comparisons.
std::string StatsLines(const std::string& text) { return text.substr(text.find('\n') + 1); }

TEST_F(PlayStats, RunsCountAndKeepTheirBestMarkInTheAccountsFile) {
    ASSERT_TRUE(SignUpProfile(L"P"));
    ASSERT_TRUE(FinishSignUp(L"pw"));
    EXPECT_FALSE(std::filesystem::exists("Save/P.stats"));  // nothing played yet
    RecordRun(L"Song", 1, 9000, 50000);                     // all Perfect
    RecordRun(L"Song", 1, 100, 0);                          // a worse run keeps the mark
    RecordRun(L"Song", 0, 100, 10000);                      // full combo
    RecordRun(L"日本の歌", 2, 10, 0);
    const SongStats* song = FindSongStats(L"Song");
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->levels[1].plays, 2);
    EXPECT_EQ(song->levels[1].best, PlayMark::kAllPerfect);
    EXPECT_EQ(song->levels[0].best, PlayMark::kFullCombo);
    EXPECT_EQ(song->levels[2].plays, 0);
    EXPECT_GT(song->levels[1].lastPlayed, 1700000000);
    EXPECT_EQ(GetHighScore(L"Song", 1), 9000);

    const std::string text = Read("Save/P.stats");
    const std::string last = std::to_string(song->levels[1].lastPlayed);
    EXPECT_EQ(StatsLines(text), "1\t1\t" + last + "\tfull-combo\tSong\n2\t2\t" + last +
                                    "\tall-perfect\tSong\n3\t1\t" + last + "\tplayed\t日本の歌\n");
    struct stat info;
    ASSERT_EQ(::stat("Save/P.stats", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // Signed out and in again: the same counts come back from the file.
    ClearProfile();
    EXPECT_EQ(FindSongStats(L"Song"), nullptr);
    ASSERT_TRUE(LoadProfile(L"P"));
    ASSERT_TRUE(ConfirmSignIn(L"pw"));
    ASSERT_NE(FindSongStats(L"日本の歌"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[1].plays, 2);
}

TEST_F(PlayStats, AGuestsCountsStayInMemoryAndOutOfAnAccount) {
    RecordRun(L"Song", 0, 100, 0);
    EXPECT_EQ(Entries("."), std::vector<std::string>{});
    Write("Save/A.svd", "pw\n");
    ASSERT_TRUE(LoadProfile(L"A"));
    ASSERT_TRUE(ConfirmSignIn(L"pw"));
    EXPECT_EQ(FindSongStats(L"Song"), nullptr);
    RecordRun(L"Song", 0, 50, 0);
    ClearProfile();
    ASSERT_NE(FindSongStats(L"Song"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[0].plays, 1);  // the guest's own run only
}

TEST_F(PlayStats, ADamagedFileIsSetAsideWithoutStoppingTheSignInOrLosingScores) {
    Write("Save/A.svd", "pw\nSong[700][0][0]\n");
    Write("Save/A.stats", "1\t3\t1700000000\tplayed\tSong\nrubbish\n2\tx\t0\tplayed\tSong\n");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadProfile(L"A"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Save/A.stats:2: not a play record"), std::string::npos) << said;
    EXPECT_NE(said.find("Save/A.stats.damaged"), std::string::npos) << said;
    ASSERT_TRUE(ConfirmSignIn(L"pw"));
    EXPECT_EQ(GetHighScore(L"Song", 0), 700);
    ASSERT_NE(FindSongStats(L"Song"), nullptr);
    EXPECT_EQ(FindSongStats(L"Song")->levels[0].plays, 3);  // the good line is kept
    EXPECT_EQ(Read("Save/A.stats.damaged").find("rubbish"), 27u);
    EXPECT_FALSE(std::filesystem::exists("Save/A.stats"));
    RecordRun(L"Song", 0, 10, 0);
    EXPECT_EQ(StatsLines(Read("Save/A.stats")).substr(0, 4), "1\t4\t");

    // A second damaged file does not replace the first one set aside.
    GetPlayerProfile() = PlayerProfile{};
    Write("Save/A.stats", "nonsense\n");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadProfile(L"A"));
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::exists("Save/A.stats.damaged.2"));
}

// Ends the process as a crash would at the write step counted by the test: a run's save goes
// through five steps for the save file (create, write, sync, close, rename), then five for the
// statistics file.
int g_stepsLeft = 0;
bool CrashAtCountedStep(const char*) {
    if (g_stepsLeft-- == 0) ::_exit(3);
    return true;
}

// Runs body in a forked copy of this process (same folder, same records) and returns its exit
// status; a death test would start a fresh process in a folder of its own.
int ExitStatusOf(void (*body)()) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PlayStats, AKillAtAnyStepOfTheWriteLeavesBothFilesWhole) {
    const std::string oldSave = "pw\nSong[5][0][0]\n";
    const std::string oldStats = "1\t1\t1700000000\tplayed\tSong\n";
    for (int step = 0; step < 10; ++step) {
        Write("Save/A.svd", oldSave);
        Write("Save/A.stats", oldStats);
        GetPlayerProfile() = PlayerProfile{};
        ASSERT_TRUE(LoadProfile(L"A"));
        ASSERT_TRUE(ConfirmSignIn(L"pw"));
        g_stepsLeft = step;
        EXPECT_EQ(ExitStatusOf([] {
                      platform::SetAtomicWriteHookForTesting(CrashAtCountedStep);
                      RecordRun(L"Song", 0, 9, 0);
                  }),
                  3)
            << "step " << step;
        const std::string save = Read("Save/A.svd");
        EXPECT_EQ(save, step < 5 ? oldSave : "pw\nSong[9][0][0]\n") << "step " << step;
        EXPECT_EQ(Read("Save/A.stats"), oldStats) << "step " << step;
        // Whatever was left reads back without a complaint.
        ::testing::internal::CaptureStderr();
        GetPlayerProfile() = PlayerProfile{};
        ASSERT_TRUE(LoadProfile(L"A"));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "step " << step;
    }
}

}  // namespace
