// The content check on the generated demo content: it passes, and names each problem of a
// damaged copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/HeadlessRun.h"

namespace fs = std::filesystem;

namespace {

// Replaces the first occurrence of from with to in a file.
void Edit(const fs::path& file, const std::string& from, const std::string& to) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Skips a test when the build made no demo content.
#define REQUIRE_DEMO_CONTENT()                                       \
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content"; \
    static_assert(true)

}  // namespace

TEST(DemoContent, CheckPassesAndNamesEachProblemOfADamagedCopy) {
    REQUIRE_DEMO_CONTENT();
    HeadlessRun run(DemoContentDir());
    EXPECT_EQ(run.Run("--check --data '" + run.work.string() + "' >/dev/null"), 0) << run.errors;

    Edit(run.work / "Data/Music/Sunbeam/2.nsd", "BPM[175]", "BPM[fast]");
    // Two notes of one lane in the wrong order: the later value first.
    Edit(run.work / "Data/Music/Midnight Lanterns/1.nsd", "[RD,0.", "[RD,9.");
    fs::remove(run.work / "Data/Texture/Sunbeam.png");
    std::ofstream(run.work / "Data/Texture/Hit.png") << "not a picture";
    const fs::path out = run.work / "check.txt";
    EXPECT_EQ(run.Run("--check --data '" + run.work.string() + "' >'" + out.string() + "'"), 1);
    std::ifstream in(out);
    const std::string report((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(report.find("Data/Music/Sunbeam/2.nsd:1: BPM \"fast\": not a number"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Data/Music/Midnight Lanterns/1.nsd:"), std::string::npos) << report;
    EXPECT_NE(report.find("is not after the lane's previous note"), std::string::npos) << report;
    EXPECT_NE(report.find("Data/Texture/Sunbeam.png: missing file"), std::string::npos) << report;
    // A picture that does not decode is named once, at the start of its line.
    const size_t hit = report.find("Data/Texture/Hit.png: cannot decode: ");
    EXPECT_NE(hit, std::string::npos) << report;
    EXPECT_EQ(report.find("Hit.png", hit + 20), std::string::npos) << report;
    EXPECT_EQ(report.find(":0:"), std::string::npos) << "a whole file has no line";
}
