// Command-line parsing and the headless program end to end: exit status and errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/CommandLine.h"
#include "support/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

// Parses a command line given as words after the program name.
bool Parse(std::initializer_list<const char*> words, Options& out, std::string& error) {
    std::vector<const char*> argv{"lyrandel"};
    argv.insert(argv.end(), words);
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, error);
}

}  // namespace

TEST(CommandLine, ModesAndValues) {
    Options o;
    std::string e;
    ASSERT_TRUE(
        Parse({"--headless", "--script", "s.txt", "--data", "d", "--audio-out", "a.wav"}, o, e));
    EXPECT_EQ(o.mode, Options::Mode::Headless);
    EXPECT_EQ(o.script, "s.txt");
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.audioOut, "a.wav");
    o = {};
    ASSERT_TRUE(Parse({"--check"}, o, e));
    EXPECT_EQ(o.mode, Options::Mode::Check);
    o = {};
    ASSERT_TRUE(Parse({}, o, e));
    EXPECT_EQ(o.mode, Options::Mode::Play);
}

TEST(CommandLine, MistakesAreRefused) {
    Options o;
    std::string e;
    EXPECT_FALSE(Parse({"--headless"}, o, e));
    EXPECT_FALSE(Parse({"--data"}, o, e));
    EXPECT_FALSE(Parse({"--script", "s.txt"}, o, e));
    EXPECT_FALSE(Parse({"--frobnicate"}, o, e));
    EXPECT_NE(e.find("--frobnicate"), std::string::npos);
    EXPECT_FALSE(Parse({"--check", "--headless", "--script", "x"}, o, e));
}

TEST(HeadlessProgram, ScriptEndingInQuitExitsZeroAndBadLineExitsOne) {
    HeadlessRun run(fs::path(LYRANDEL_TEST_DIR) / "data/minimal");
    EXPECT_EQ(run.Play("1 press W\n30 quit\n"), 0) << run.errors;
    EXPECT_EQ(run.Play("1 press W\n2 hop\n"), 1);
    EXPECT_NE(run.errors.find("line 2: unknown command 'hop'"), std::string::npos) << run.errors;
    EXPECT_EQ(run.Run("--headless --script '" + (run.work / "missing.txt").string() + "'"), 1);
    EXPECT_NE(run.errors.find("missing.txt"), std::string::npos) << run.errors;
    EXPECT_EQ(run.Run("--bogus"), 2);
}

TEST(CommandLine, ImportTakesPathsAndRefusesOtherModes) {
    Options o;
    std::string e;
    ASSERT_TRUE(Parse({"--import", "a.sm", "pack", "--data", "d", "b.osz"}, o, e)) << e;
    EXPECT_EQ(o.mode, Options::Mode::Import);
    EXPECT_EQ(o.importPaths, (std::vector<std::string>{"a.sm", "pack", "b.osz"}));
    EXPECT_EQ(o.dataDir, "d");
    o = {};
    EXPECT_FALSE(Parse({"--import"}, o, e));
    EXPECT_NE(e.find("PATH"), std::string::npos);
    o = {};
    EXPECT_FALSE(Parse({"--import", "x", "--check"}, o, e));
    EXPECT_FALSE(Parse({"stray"}, o, e));
}
