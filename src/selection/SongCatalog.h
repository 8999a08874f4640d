// SongCatalog: what the selection knows of each music list entry beyond the list itself,
// prepared once, so that searching, ordering and jumping through ten thousand songs stay
// cheap: how often and when it was played (settings/PlayStats.h), prepared when the selection
// opens; the folded title and credit (platform/TextFold.h) and the pack and when the song was
// added (selection/PacksFile.h), prepared the first time something needs them, so that
// opening the selection does only what its first frame shows.
// Depends on: selection/MusicList.h, selection/PacksFile.h, settings/PlayStatsFile.h,
// platform/TextFold.h.
#pragma once

#include <cstdint>
#include <functional>
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

// Reads the packs of the entries (parallel to them) when first needed.
using PackReader = std::function<std::vector<PackRecord>()>;

class SongCatalog {
  public:
    // Prepares the play counts of entries (which must outlive the catalog's use of them) from
    // the player's statistics, and keeps where their packs come from.
    void Build(const std::vector<MusicEntry>& entries, PackReader packs,
               const std::vector<SongStats>& stats);
    // Folds the titles and credits, the first time only.
    void NeedTexts();
    // Reads the packs, the first time only.
    void NeedPacks();
    // The facts of the entry at position i of the list.
    const SongFacts& operator[](size_t i) const { return facts_[i]; }
    size_t size() const { return facts_.size(); }
    const PackInfo& pack(int32_t index) const { return packs_[static_cast<size_t>(index)]; }

  private:
    // Places the packs by name, "Other" last.
    void RankPacks();

    const std::vector<MusicEntry>* entries_ = nullptr;
    PackReader readPacks_;
    bool texts_ = false;
    bool packsRead_ = false;
    std::vector<SongFacts> facts_;
    std::vector<PackInfo> packs_;
};
