// PlayStats: counting a run into the profile's statistics and the one save of a whole run.
#include "settings/PlayStats.h"

#include <algorithm>
#include <ctime>

#include "settings/PlayerProfile.h"

namespace {

constexpr int32_t kFullComboBonus = 10000;
constexpr int32_t kAllPerfectBonus = 40000;

// The statistics of music in stats, added at the end when missing.
SongStats& StatsOf(std::vector<SongStats>& stats, const std::wstring& music) {
    for (SongStats& s : stats)
        if (s.music == music) return s;
    stats.push_back({music, {}});
    return stats.back();
}

// One level's counts added to another's.
void AddChart(ChartStats& into, const ChartStats& from) {
    into.plays += from.plays;
    into.lastPlayed = std::max(into.lastPlayed, from.lastPlayed);
    into.best = std::max(into.best, from.best);
}

}  // namespace

PlayMark RunMark(int32_t bonus) {
    if (bonus >= kAllPerfectBonus) return PlayMark::kAllPerfect;
    if (bonus >= kFullComboBonus) return PlayMark::kFullCombo;
    return PlayMark::kPlayed;
}

const SongStats* FindSongStats(const std::wstring& music) {
    for (const SongStats& s : GetPlayerProfile().stats)
        if (s.music == music) return &s;
    return nullptr;
}

void CountPlay(const std::wstring& music, int level, PlayMark mark, int64_t now) {
    AddChart(StatsOf(GetPlayerProfile().stats, music).levels[level], {1, now, mark});
}

void MergeStats(std::vector<SongStats>& into, std::vector<SongStats>& from) {
    for (const SongStats& song : from) {
        SongStats& target = StatsOf(into, song.music);
        for (int level = 0; level < 3; ++level) AddChart(target.levels[level], song.levels[level]);
    }
    from.clear();
}

void RecordRun(const std::wstring& music, int level, int score, int32_t bonus) {
    KeepHighScore(music, level, score);
    CountPlay(music, level, RunMark(bonus), static_cast<int64_t>(std::time(nullptr)));
    SaveProfile();
}
