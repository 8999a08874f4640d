// PlayStatsFile: one account's play statistics, in a file of their own beside its save file,
// "Save/" + name + ".stats" (the save file's format is fixed). UTF-8 text, one line per song
// and level that was played, the title last since it may hold anything but a line break:
//     # Lyrandel play statistics: LEVEL <tab> PLAYS <tab> LAST <tab> MARK <tab> TITLE
//     2	14	1765200000	full-combo	Falling Leaves
// LEVEL is 1 to 3, LAST the seconds since 1970 of the last complete run, MARK the best run's
// mark: played, full-combo or all-perfect.
// Depends on: platform/Codepage.h, platform/files (whole-file reads, atomic writes, setting
// aside).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The best a chart was played: a complete run, every note hit (the full combo of the bonus
// rule), every note Perfect.
enum class PlayMark : int32_t { kNone = 0, kPlayed = 1, kFullCombo = 2, kAllPerfect = 3 };

// One level's counts.
struct ChartStats {
    int32_t plays = 0;
    int64_t lastPlayed = 0;  // seconds since 1970; 0 never
    PlayMark best = PlayMark::kNone;
};

// A song's counts by level index.
struct SongStats {
    std::wstring music;
    ChartStats levels[3];
};

// Reads the file's text; the numbers of lines that are no record go to bad. Lines of one title
// are gathered into one SongStats, in the order first seen.
void ParseStatsText(std::string_view text, std::vector<SongStats>& stats, std::vector<int>& bad);
// The file's text: every played level of every song, songs in their order.
std::string FormatStatsText(const std::vector<SongStats>& stats);

// The file of an account (UTF-8 path).
std::string StatsPath(const std::wstring& name);
// Reads an account's file into stats; a missing file is no statistics. A file that cannot be
// read or holds bad lines is reported on stderr and set aside (its good lines are kept, and
// the next save writes them back); stats reading never stops a sign-in.
void LoadStatsFile(const std::wstring& name, std::vector<SongStats>& stats);
// Writes an account's file atomically, private to the player; false with the reason in error.
bool SaveStatsFile(const std::wstring& name, const std::vector<SongStats>& stats,
                   std::string* error);
