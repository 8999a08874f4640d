// Tests of "Config.cfg": the lenient reader, the exact writer and the safe failure paths.
#include <unistd.h>

#include "WorkFolder.h"
#include "settings/Config.h"

namespace {

using ConfigFile = WorkFolder;

constexpr const char* kDefaultsText =
    "Volume[1.000000]\nBGMVolume[1.000000]\nSEVolume[1.000000]\n"
    "HitGap[0.000000]\nHitLine[500.000000]\nHiSpeed[2.000000]\n";

// Loads text as "Config.cfg" over a record that was changed before, and returns the record.
Config LoadText(const std::string& text, bool expectOk = true) {
    WorkFolder::Write("Config.cfg", text);
    GetConfig().Volume = 7.0f;  // the load must put the defaults back first
    std::string error;
    EXPECT_EQ(LoadConfig(&error), expectOk) << error;
    return GetConfig();
}

TEST_F(ConfigFile, ReadsEntriesInAnyOrderAndTheLaterDuplicateWins) {
    Config c = LoadText("HiSpeed[3.5]\nHitLine[420]\nVolume[0.25]\nVolume[0.5]\nHitGap[-1.5]\n");
    EXPECT_EQ(c.Volume, 0.5f);
    EXPECT_EQ(c.BGMVolume, 1.0f);
    EXPECT_EQ(c.SEVolume, 1.0f);
    EXPECT_EQ(c.HitGap, -1.5f);
    EXPECT_EQ(c.HitLine, 420.0f);
    EXPECT_EQ(c.HiSpeed, 3.5f);
}

TEST_F(ConfigFile, TakesTheNumberPrefixAndSkipsWhatIsNotAKey) {
    Config c = LoadText("Volume[0.5abc] comment\n SEVolume[0.1]\nhispeed[4]\nHiSpeed[ 3]\n");
    EXPECT_EQ(c.Volume, 0.5f);
    EXPECT_EQ(c.SEVolume, 1.0f);  // a space before the key
    EXPECT_EQ(c.HiSpeed, 3.0f);   // white space before the value; the small-letter key skipped
}

TEST_F(ConfigFile, ALineWithoutBracketSwallowsTheNextEntry) {
    Config c = LoadText("# settings\nVolume[0.3]\nBGMVolume[0.4]\n");
    EXPECT_EQ(c.Volume, 1.0f);
    EXPECT_EQ(c.BGMVolume, 0.4f);
}

TEST_F(ConfigFile, ALastLineWithoutBracketOrLineEndStillCounts) {
    EXPECT_EQ(LoadText("Volume[0.5]\nHiSpeed[3").HiSpeed, 3.0f);
}

TEST_F(ConfigFile, AByteOrderMarkHidesTheFirstSetting) {
    Config c = LoadText("\xef\xbb\xbfVolume[0.5]\nBGMVolume[0.6]\n");
    EXPECT_EQ(c.Volume, 1.0f);
    EXPECT_EQ(c.BGMVolume, 0.6f);
}

TEST_F(ConfigFile, EmptyAndMissingFilesGiveTheDefaults) {
    Config c = LoadText("");
    EXPECT_EQ(FormatConfigText(c), kDefaultsText);
    c = LoadText("no brackets at all\n");
    EXPECT_EQ(FormatConfigText(c), kDefaultsText);
    std::filesystem::remove("Config.cfg");
    GetConfig().HiSpeed = 9.0f;
    EXPECT_TRUE(LoadConfig());
    EXPECT_EQ(FormatConfigText(GetConfig()), kDefaultsText);
    EXPECT_EQ(Read("Config.cfg"), "<missing>");  // loading never creates the file
}

TEST_F(ConfigFile, CarriageReturnsAndOutOfRangeValuesAreKept) {
    Config c = LoadText("Volume[0.5]\r\nHiSpeed[20.0]\r\n");
    EXPECT_EQ(c.Volume, 0.5f);
    EXPECT_EQ(c.HiSpeed, 20.0f);  // loading checks no range
}

TEST_F(ConfigFile, BadNumbersFailWithFileLineAndMessageAndTouchNothing) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"Volume[0.5]\nHitGap[abc]\n", "Config.cfg:2: HitGap \"abc\": not a number"},
        {"Volume[0.5]\nBGMVolume[0.4]\nHiSpeed[]\n", "Config.cfg:3: HiSpeed \"\": not a number"},
        {"HitLine[1e999]\n", "Config.cfg:1: HitLine \"1e999\": out of range"},
        {"Volume[", "Config.cfg:1: Volume \"\": not a number"},
        // Non-finite values would judge no note or play every sound at the cap.
        {"HitGap[nan]\n", "Config.cfg:1: HitGap \"nan\": not a number"},
        {"Volume[ -Infinity]\n", "Config.cfg:1: Volume \" -Infinity\": not a number"},
        {"HiSpeed[\ninf]", "Config.cfg:1: HiSpeed \"...\": not a number"},
    };
    for (const Case& c : cases) {
        Write("Config.cfg", c.text);
        std::string error;
        EXPECT_FALSE(LoadConfig(&error)) << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(Read("Config.cfg"), c.text);
    }
}

TEST_F(ConfigFile, OverlongPiecesFailInsteadOfReadingOn) {
    const std::string longText(300, 'x');
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"Volume[0.5]\n" + longText + "\nHiSpeed[3]\n",
         "Config.cfg:2: key longer than 259 characters"},
        {"Volume[" + longText + "]\n", "Config.cfg:1: value longer than 259 characters"},
        {"Volume[0.5] " + longText + "\n", "Config.cfg:1: rest of line longer than 259 characters"},
    };
    for (const Case& c : cases) {
        Write("Config.cfg", c.text);
        std::string error;
        EXPECT_FALSE(LoadConfig(&error));
        EXPECT_EQ(error, c.error);
    }
}

TEST_F(ConfigFile, UnreadableFileFailsWithTheReason) {
    std::filesystem::create_directory("Config.cfg");
    std::string error;
    EXPECT_FALSE(LoadConfig(&error));
    EXPECT_NE(error.find("Config.cfg"), std::string::npos) << error;
}

TEST_F(ConfigFile, SavesTheSixLinesByteForByte) {
    EXPECT_TRUE(SaveConfig());
    EXPECT_EQ(Read("Config.cfg"), kDefaultsText);
    GetConfig() = Config{0.0f, 2.0f, 0.95f, -0.25f, 600.0f, 20.0f};
    GetConfig().Volume = 1.0f - 0.05f;  // a value stepped down once in the editor
    EXPECT_TRUE(SaveConfig());
    EXPECT_EQ(Read("Config.cfg"),
              "Volume[0.950000]\nBGMVolume[2.000000]\nSEVolume[0.950000]\n"
              "HitGap[-0.250000]\nHitLine[600.000000]\nHiSpeed[20.000000]\n");
    const Config saved = GetConfig();
    ASSERT_TRUE(LoadConfig());
    EXPECT_EQ(GetConfig().HitLine, saved.HitLine);
    EXPECT_EQ(GetConfig().Volume, 0.95f);  // the float nearest to the six-decimal text
    EXPECT_EQ(Entries("."), std::vector<std::string>{"Config.cfg"});
}

// Fails the step named in g_failStep.
const char* g_failStep = nullptr;
bool FailNamedStep(const char* step) { return std::string(step) != g_failStep; }

TEST_F(ConfigFile, AFailedWriteKeepsTheOldFileAndSaysWhatFailed) {
    Write("Config.cfg", "HiSpeed[3]\n");
    GetConfig().HiSpeed = 4.0f;
    for (const char* step : {"create", "write", "sync", "close", "rename"}) {
        g_failStep = step;
        platform::SetAtomicWriteHookForTesting(FailNamedStep);
        std::string error;
        EXPECT_FALSE(SaveConfig(&error));
        EXPECT_EQ(error, std::string("cannot write Config.cfg: ") + step + ": Input/output error");
        EXPECT_EQ(Read("Config.cfg"), "HiSpeed[3]\n");
        EXPECT_EQ(Entries("."), std::vector<std::string>{"Config.cfg"});  // no temporary left
    }
}

// Ends the process as a crash would, just before the new file replaces the old one.
bool CrashBeforeRename(const char* step) {
    if (std::string(step) == "rename") ::_exit(3);
    return true;
}

TEST_F(ConfigFile, AWriteInterruptedBeforeTheRenameLeavesTheOldFileWhole) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Write("Config.cfg", "HiSpeed[3]\n");
    GetConfig().HiSpeed = 4.0f;
    EXPECT_EXIT(
        {
            platform::SetAtomicWriteHookForTesting(CrashBeforeRename);
            SaveConfig();
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(Read("Config.cfg"), "HiSpeed[3]\n");
    ASSERT_TRUE(LoadConfig());
    EXPECT_EQ(GetConfig().HiSpeed, 3.0f);
}

}  // namespace
