// Command-line parsing and the headless program end to end: exit status and errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "shell/CommandLine.h"

namespace {

// Parses a command line given as words after the program name.
bool Parse(std::initializer_list<const char*> words, Options& out, std::string& error) {
    std::vector<const char*> argv{"lyrandel"};
    argv.insert(argv.end(), words);
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, error);
}

// Runs the program with arguments; returns its exit status and stderr.
int RunProgram(const std::string& args, std::string& errors) {
    const auto err = std::filesystem::temp_directory_path() / "lyrandel-cli-stderr.txt";
    // Driver libraries of the offscreen GL stack leak at exit; leaks are checked in-process.
    const std::string cmd = "ASAN_OPTIONS=detect_leaks=0 " + std::string(LYRANDEL_BINARY) + " " + args + " 2>" + err.string();
    const int status = std::system(cmd.c_str());
    std::ifstream in(err);
    errors.assign(std::istreambuf_iterator<char>(in), {});
    return WEXITSTATUS(status);
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
    const auto dir = std::filesystem::temp_directory_path() / "lyrandel-cli-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "ok.txt") << "1 press W\n30 quit\n";
    std::ofstream(dir / "bad.txt") << "1 press W\n2 hop\n";
    std::string errors;
    const std::string data = " --data " + std::string(LYRANDEL_TEST_DIR) + "/data/minimal";
    EXPECT_EQ(RunProgram("--headless --script " + (dir / "ok.txt").string() + data, errors), 0)
        << errors;
    EXPECT_EQ(RunProgram("--headless --script " + (dir / "bad.txt").string() + data, errors), 1);
    EXPECT_NE(errors.find("line 2"), std::string::npos) << errors;
    EXPECT_EQ(RunProgram("--headless --script " + (dir / "missing.txt").string(), errors), 1);
    EXPECT_NE(errors.find("missing.txt"), std::string::npos) << errors;
    std::filesystem::remove_all(dir);
}
