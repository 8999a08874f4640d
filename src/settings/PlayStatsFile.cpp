// PlayStatsFile: the line format, and reading, setting aside and writing an account's file.
#include "settings/PlayStatsFile.h"

#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"
#include "settings/RecordLines.h"

namespace {

constexpr const char* kHeader =
    "# Lyrandel play statistics: LEVEL <tab> PLAYS <tab> LAST <tab> MARK <tab> TITLE\n";

// The words of the marks, by PlayMark value.
constexpr const char* kMarkWords[] = {"none", "played", "full-combo", "all-perfect"};

// The mark a word names; false for another word.
bool ReadMark(std::string_view word, PlayMark& mark) {
    for (int i = 0; i < 4; ++i)
        if (word == kMarkWords[i]) return mark = static_cast<PlayMark>(i), true;
    return false;
}

// Where each title's statistics are in the list being read.
using TitlePlaces = std::unordered_map<std::wstring, size_t>;

// The statistics of music in stats, added at the end when missing.
SongStats& StatsOf(std::vector<SongStats>& stats, TitlePlaces& places, std::wstring music) {
    auto [it, added] = places.try_emplace(music, stats.size());
    if (added) stats.push_back({std::move(music), {}});
    return stats[it->second];
}

// Reads one record line into stats; false when it is no record.
bool ParseLine(std::string_view line, std::vector<SongStats>& stats, TitlePlaces& places) {
    std::string_view fields[5];
    int64_t level = 0, plays = 0, last = 0;
    PlayMark mark = PlayMark::kNone;
    if (!SplitRecord(line, fields, 5) || !ReadDigits(fields[0], level) || level < 1 || level > 3 ||
        !ReadDigits(fields[1], plays) || plays > INT32_MAX || !ReadDigits(fields[2], last) ||
        !ReadMark(fields[3], mark) || fields[4].empty())
        return false;
    ChartStats& chart = StatsOf(stats, places, platform::Utf8ToWide(fields[4])).levels[level - 1];
    chart = {static_cast<int32_t>(plays), last, mark};
    return true;
}

// One line on stderr with the program's prefix.
void Report(const std::string& message) { std::fprintf(stderr, "lyrandel: %s\n", message.c_str()); }

// Moves a file that could not be used out of the way and says so.
void SetAsideAndReport(const std::string& path, const std::string& problem) {
    std::string error;
    std::string aside;
    platform::SetFileAside(path, &aside, &error);
    Report(problem + "; " + (aside.empty() ? error : "the file was moved to " + aside) +
           " (scores are not affected)");
}

}  // namespace

void ParseStatsText(std::string_view text, std::vector<SongStats>& stats, std::vector<int>& bad) {
    TitlePlaces places;
    for (size_t i = 0; i < stats.size(); ++i) places.emplace(stats[i].music, i);
    ReadRecordLines(
        text, [&](std::string_view line) { return ParseLine(line, stats, places); }, bad);
}

std::string FormatStatsText(const std::vector<SongStats>& stats) {
    std::string text = kHeader;
    for (const SongStats& song : stats) {
        const std::string title = platform::WideToUtf8(song.music);
        for (int level = 0; level < 3; ++level) {
            const ChartStats& c = song.levels[level];
            if (c.plays == 0 && c.best == PlayMark::kNone) continue;
            text += std::to_string(level + 1) + "\t" + std::to_string(c.plays) + "\t" +
                    std::to_string(c.lastPlayed) + "\t" + kMarkWords[static_cast<int>(c.best)] +
                    "\t" + title + "\n";
        }
    }
    return text;
}

std::string StatsPath(const std::wstring& name) {
    return "Save/" + platform::WideToUtf8(name) + ".stats";
}

void LoadStatsFile(const std::wstring& name, std::vector<SongStats>& stats) {
    stats.clear();
    const std::string path = StatsPath(name);
    std::string bytes, error;
    switch (platform::ReadWholeFile(path, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return;
        case platform::ReadResult::kFailed:
            return SetAsideAndReport(path, error);
        case platform::ReadResult::kOk:
            break;
    }
    std::vector<int> bad;
    ParseStatsText(bytes, stats, bad);
    if (!bad.empty())
        SetAsideAndReport(path, path + ":" + std::to_string(bad.front()) + ": not a play record (" +
                                    std::to_string(bad.size()) +
                                    " such lines left out, the others kept)");
}

bool SaveStatsFile(const std::wstring& name, const std::vector<SongStats>& stats,
                   std::string* error) {
    return platform::WriteFileAtomically(StatsPath(name), FormatStatsText(stats), error, 0600);
}
