// SongCatalog: what the selection knows of each music list entry beyond the list itself,
// prepared once when the selection opens, so that searching, ordering and jumping through ten
// thousand songs stay cheap: the folded title and credit (platform/TextFold.h), the pack and
// when the song was added (selection/PacksFile.h), and how often and when it was played
// (settings/PlayStats.h).
// Depends on: selection/MusicList.h, selection/PacksFile.h, settings/PlayStatsFile.h,
// platform/TextFold.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "selection/MusicList.h"
#include "selection/PacksFile.h"
#include "settings/PlayStatsFile.h"

// One entry's facts, at the entry's position in the list.
struct SongFacts {
    std::string title;   // folded
    std::string credit;  // folded
    int32_t pack = 0;    // index into the catalog's packs
    int64_t added = 0;   // seconds since 1970; 0 when not known
    int64_t lastPlayed = 0;
    int32_t plays = 0;  // of all three levels
};

// A pack: its name, folded, and its place among the packs (by name, "Other" last).
struct PackInfo {
    std::wstring name;
    std::string folded;
    int32_t rank = 0;
};

class SongCatalog {
  public:
    // Prepares the facts of entries with their packs (parallel to entries) and the player's
    // statistics.
    void Build(const std::vector<MusicEntry>& entries, const std::vector<PackRecord>& packs,
               const std::vector<SongStats>& stats);
    // The facts of the entry at position i of the list.
    const SongFacts& operator[](size_t i) const { return facts_[i]; }
    size_t size() const { return facts_.size(); }
    const PackInfo& pack(int32_t index) const { return packs_[static_cast<size_t>(index)]; }

  private:
    std::vector<SongFacts> facts_;
    std::vector<PackInfo> packs_;
};
