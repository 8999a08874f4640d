// PlayStats: what the player has played, beside the scores: each chart's play count, last
// played time and best mark, kept in PlayerProfile (the signed-in account's, or the guest's in
// memory only, as scores are) and in the account's statistics file.
// Depends on: settings/PlayerProfile.h, settings/PlayStatsFile.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/PlayStatsFile.h"

// The mark of a complete run by the bonus the result gave it: +10000 for a full combo, +40000
// more for all Perfect.
PlayMark RunMark(int32_t bonus);

// The counts of a song, or nullptr when none of its levels was played.
const SongStats* FindSongStats(const std::wstring& music);
// Counts one complete run of a song's level index at the time now (seconds since 1970).
void CountPlay(const std::wstring& music, int level, PlayMark mark, int64_t now);
// Adds the counts of from to into, song by song (plays summed, the later time, the better mark).
void MergeStats(std::vector<SongStats>& into, std::vector<SongStats>& from);

// Records a complete run: the best score and the counts, with the signed-in account saved once
// (save file and statistics file). A run that must leave no trace (the autoplay, a replay
// watched) is simply not recorded.
void RecordRun(const std::wstring& music, int level, int score, int32_t bonus);
