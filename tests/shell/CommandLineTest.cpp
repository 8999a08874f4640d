// Command-line parsing and the headless program end to end: exit status and errors.
#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_TRUE(o.play.empty());
    o = {};
    ASSERT_TRUE(Parse({"--headless", "--autoplay", "--play", "星 A", "--level", "3"}, o, e)) << e;
    EXPECT_EQ(o.mode, Options::Mode::Headless);
    EXPECT_EQ(o.play, "星 A");
    EXPECT_EQ(o.level, 3);
    EXPECT_TRUE(o.autoplay);
    o = {};
    ASSERT_TRUE(Parse({"--play", "T"}, o, e));
    EXPECT_EQ(o.mode, Options::Mode::Play);
    EXPECT_EQ(o.level, 1);
    EXPECT_FALSE(o.autoplay);
    o = {};
    EXPECT_EQ(o.display, Options::Display::Remembered);
    ASSERT_TRUE(Parse({"--fullscreen", "--fullscreen"}, o, e));
    EXPECT_EQ(o.display, Options::Display::Fullscreen);
    o = {};
    ASSERT_TRUE(Parse({"--window", "--data", "d"}, o, e));
    EXPECT_EQ(o.display, Options::Display::Window);
    EXPECT_FALSE(o.offsetMs);
    for (const auto& [text, ms] : {std::pair{"-300", -300}, {"+37", 37}, {"0", 0}, {"300", 300}}) {
        o = {};
        ASSERT_TRUE(Parse({"--headless", "--script", "s", "--offset", text}, o, e)) << e;
        EXPECT_EQ(o.offsetMs, ms);
    }
    o = {};
    ASSERT_TRUE(Parse({"--headless", "--replay", "r.lrp", "--audio-out", "a.wav"}, o, e)) << e;
    EXPECT_EQ(o.mode, Options::Mode::Headless);
    EXPECT_EQ(o.replay, "r.lrp");
    o = {};
    ASSERT_TRUE(Parse({"--replay", "r.lrp", "--fullscreen"}, o, e)) << e;
    EXPECT_EQ(o.mode, Options::Mode::Play);
}

TEST(CommandLine, AReplayStartsNothingElse) {
    for (auto words : {std::initializer_list<const char*>{"--replay"},
                       {"--replay", "r", "--play", "T"},
                       {"--replay", "r", "--autoplay"},
                       {"--replay", "r", "--check"},
                       {"--headless", "--replay", "r", "--script", "s"},
                       {"--import", "p", "--replay", "r"}}) {
        Options o;
        std::string e;
        EXPECT_FALSE(Parse(words, o, e)) << *words.begin() << " " << words.size();
        EXPECT_FALSE(e.empty());
    }
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
    for (const char* level : {"0", "4", "1x", "-1"}) {
        EXPECT_FALSE(Parse({"--play", "T", "--level", level}, o, e)) << level;
        EXPECT_NE(e.find("1, 2 or 3"), std::string::npos) << e;
    }
    for (auto words : {std::initializer_list<const char*>{"--play"},
                       {"--autoplay"},
                       {"--level", "2"},
                       {"--check", "--play", "T"},
                       {"--headless", "--play", "T"}}) {
        Options fresh;
        EXPECT_FALSE(Parse(words, fresh, e)) << *words.begin();
    }
    o = {};
    EXPECT_FALSE(Parse({"--fullscreen", "--window"}, o, e));
    o = {};
    EXPECT_FALSE(Parse({"--headless", "--script", "x", "--window"}, o, e));
    for (const char* ms : {"301", "-301", "12.5", "1e2", "x", "+", "0300"}) {
        o = {};
        EXPECT_FALSE(Parse({"--offset", ms}, o, e)) << ms;
        EXPECT_NE(e.find("-300 to 300"), std::string::npos) << e;
    }
    o = {};
    EXPECT_FALSE(Parse({"--check", "--offset", "5"}, o, e));
}

// Without a display the windowed game stops at once with one line; a player's explicit
// SDL_VIDEODRIVER is tried as named, and the headless mode keeps its offscreen driver.
TEST(DesktopProgram, NoDisplayIsOneLineAndExitOne) {
    HeadlessRun run(fs::path(LYRANDEL_TEST_DIR) / "data/minimal");
    const std::string none =
        "SDL_VIDEODRIVER= DISPLAY= WAYLAND_DISPLAY= XDG_RUNTIME_DIR=/nonexistent";
    EXPECT_EQ(run.Run("--data '" + run.work.string() + "'", none), 1);
    EXPECT_EQ(run.errors,
              "lyrandel: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
              "lyrandel --headless --script FILE runs without one\n");
    EXPECT_EQ(run.Run("--data '" + run.work.string() + "'", none + " SDL_VIDEODRIVER=x11"), 1);
    EXPECT_NE(run.errors.find("SDL_VIDEODRIVER=x11"), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1);
    EXPECT_EQ(run.Play("5 quit\n", ""), 0);
    const std::string script = (run.work / "s.txt").string();
    std::ofstream(script) << "5 quit\n";
    EXPECT_EQ(run.Run("--headless --script '" + script + "' --data '" + run.work.string() + "'",
                      none + " SDL_VIDEODRIVER=x11 LYRANDEL_BENCH_NULL_GPU=1"),
              0)
        << run.errors;
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
