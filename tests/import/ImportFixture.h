// ImportFixture: a scratch data folder and source folder per test, the importer run on paths
// with its report kept, and readers of what it wrote (the list, the files, each chart's note
// times).
// Depends on: import/Importer.h, tests/support/ImportSongWriter.h.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "import/Importer.h"
#include "import/SongStore.h"
#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "support/ImportSongWriter.h"

namespace importtest {

namespace fs = std::filesystem;
using namespace testsupport;

class Import : public ::testing::Test {
  protected:
    fs::path work, data, sources;
    std::vector<std::string> lines;

    void SetUp() override {
        work = fs::temp_directory_path() /
               ("lyrandel-import-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(work);
        data = work / "data";
        sources = work / "sources";
        fs::create_directories(data);
        fs::create_directories(sources);
    }
    void TearDown() override {
        platform::SetAtomicWriteHookForTesting(nullptr);
        importer::SetImportStepHookForTesting(nullptr);
        fs::remove_all(work);
    }

    // Imports the paths; returns the result, the report in lines.
    importer::ImportResult Run(const std::vector<fs::path>& paths,
                               const importer::ImportOptions& options = {}) {
        lines.clear();
        return importer::ImportSongs(
            paths, data, [this](const std::string& line) { lines.push_back(line); }, options);
    }

    // The music list, decoded.
    std::wstring List() const {
        const std::string bytes = ReadBytes(data / "Data/Music/0.nld");
        return platform::Cp932ToWide(bytes).value_or(L"<not code page 932>");
    }

    // Every file below the data folder but the lock.
    std::vector<std::string> DataFiles() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(data))
            if (e.is_regular_file() && e.path().filename() != "lyrandel-import.lock")
                names.push_back(fs::relative(e.path(), data).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The sounding times of a chart's notes (from their values), sorted.
    std::vector<double> ChartTimes(const std::string& title, int level) const {
        const std::string text =
            ReadBytes(data / "Data/Music" / title / (std::to_string(level) + ".nsd"));
        std::smatch m;
        EXPECT_TRUE(std::regex_search(text, m, std::regex("^BPM\\[(\\d+)\\]")));
        const double bpm = std::stod(m[1]);
        std::vector<double> times;
        const std::regex note("\\[[RB][URDL] ([0-9.e-]+)\\]");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), note);
             it != std::sregex_iterator(); ++it)
            times.push_back((348750.0 * std::stof((*it)[1]) / bpm - 1) / 62.5);
        std::sort(times.begin(), times.end());
        return times;
    }
};

// Notes of an 8-column simfile: one per beat, in turn through the columns.
inline std::vector<std::pair<double, int>> Walk(int count, double step = 1.0, int columns = 8) {
    std::vector<std::pair<double, int>> notes;
    for (int i = 0; i < count; ++i) notes.emplace_back(1 + i * step, i % columns);
    return notes;
}

// Expects each time to match within half a millisecond.
inline void ExpectTimes(const std::vector<double>& actual, std::vector<double> expected) {
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 5e-4) << i;
}

}  // namespace importtest
