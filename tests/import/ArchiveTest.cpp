// Unpacking archives: hostile entries never write outside the folder, limits hold whatever an
// entry claims, ordinary entries come out whole.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/ArchiveReader.h"
#include "support/ImportSongWriter.h"

namespace fs = std::filesystem;
using testsupport::ArchiveEntry;

namespace {

class Archive : public ::testing::Test {
  protected:
    fs::path work, unpack;
    void SetUp() override {
        work = fs::temp_directory_path() /
               ("lyrandel-archive-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        unpack = work / "a" / "b" / "unpack";
        fs::create_directories(unpack);
    }
    void TearDown() override { fs::remove_all(work); }

    // Every file and folder below work, relative to it.
    std::vector<std::string> Tree() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(work))
            names.push_back(fs::relative(e.path(), work).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Accepts every entry.
bool All(const std::string&) { return true; }

}  // namespace

TEST_F(Archive, HostileEntriesWriteNothingOutside) {
    const fs::path zip = work / "hostile.zip";
    testsupport::WriteZip(zip, {{"../escape.ogg", "x"},
                                {"../../../../escape2.ogg", "x"},
                                {"/tmp/absolute.ogg", "x"},
                                {"C:\\windows.ogg", "x"},
                                {"song/../../up.ogg", "x"},
                                {"..\\back.ogg", "x"},
                                {"link", "", ArchiveEntry::kSymlink, "/etc"},
                                {"link/passwd.ogg", "x"},
                                {"song/", "", ArchiveEntry::kFolder},
                                {"song\\ok.ogg", "sound"},
                                {"./song/./two.ogg", "more"},
                                {"song/ok.ogg", "again"}});
    platform::ArchiveReport report;
    std::string error;
    ASSERT_TRUE(platform::ExtractArchive(zip.string(), unpack.string(), All, {}, &report, &error))
        << error;
    EXPECT_EQ(report.filesWritten, 3);  // song/ok.ogg, song/two.ogg and link/passwd.ogg as files
    EXPECT_EQ(Tree(), (std::vector<std::string>{"a", "a/b", "a/b/unpack", "a/b/unpack/link",
                                                "a/b/unpack/link/passwd.ogg", "a/b/unpack/song",
                                                "a/b/unpack/song/ok.ogg", "a/b/unpack/song/two.ogg",
                                                "hostile.zip"}));
    EXPECT_FALSE(fs::is_symlink(unpack / "link"));
    EXPECT_EQ(testsupport::ReadBytes(unpack / "song/ok.ogg"), "sound");  // the first one stays
    ASSERT_EQ(report.refused.size(), 8u);
    EXPECT_EQ(report.refused[6].name, "link");
    EXPECT_EQ(report.refused[6].reason, "a link");
    EXPECT_EQ(report.refused[7].reason, "a second entry of that name");
}

TEST_F(Archive, SizeLimitsHoldWhileWriting) {
    const fs::path zip = work / "big.zip";
    testsupport::WriteZip(zip, {{"small.ogg", std::string(10, 's')},
                                {"large.ogg", std::string(5000, 'l')},
                                {"skipped.txt", "not wanted"}});
    platform::ArchiveLimits limits;
    limits.maxEntryBytes = 100;
    platform::ArchiveReport report;
    std::string error;
    const auto wanted = [](const std::string& name) { return name != "skipped.txt"; };
    ASSERT_TRUE(
        platform::ExtractArchive(zip.string(), unpack.string(), wanted, limits, &report, &error));
    EXPECT_TRUE(fs::exists(unpack / "small.ogg"));
    EXPECT_FALSE(fs::exists(unpack / "large.ogg"));
    EXPECT_FALSE(fs::exists(unpack / "skipped.txt"));
    ASSERT_EQ(report.refused.size(), 1u);
    EXPECT_EQ(report.refused[0].reason, "larger than the limit");

    // A whole archive beyond its total stops there, and says so.
    limits.maxEntryBytes = 1 << 20;
    limits.maxTotalBytes = 1000;
    fs::remove_all(unpack);
    fs::create_directories(unpack);
    report = {};
    EXPECT_FALSE(
        platform::ExtractArchive(zip.string(), unpack.string(), All, limits, &report, &error));
    EXPECT_NE(error.find("more than the limit"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(unpack / "large.ogg"));
}

TEST_F(Archive, DamagedOrForeignFilesAreRefused) {
    const fs::path junk = work / "junk.zip";
    std::ofstream(junk) << "PK\x03\x04 this is no archive at all";
    platform::ArchiveReport report;
    std::string error;
    EXPECT_FALSE(
        platform::ExtractArchive(junk.string(), unpack.string(), All, {}, &report, &error));
    EXPECT_FALSE(platform::ExtractArchive((work / "missing.zip").string(), unpack.string(), All, {},
                                          &report, &error));
    EXPECT_TRUE(fs::is_empty(unpack));
}

TEST(ArchivePath, Cleaning) {
    EXPECT_EQ(platform::CleanArchivePath("a\\b/./c.ogg"), "a/b/c.ogg");
    EXPECT_EQ(platform::CleanArchivePath("a//b/"), "a/b");
    EXPECT_EQ(platform::CleanArchivePath("a/../b"), "");
    EXPECT_EQ(platform::CleanArchivePath("/a"), "");
    EXPECT_EQ(platform::CleanArchivePath("D:a"), "");
    EXPECT_EQ(platform::CleanArchivePath("./"), "");
}
