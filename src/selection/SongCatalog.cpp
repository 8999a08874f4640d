// SongCatalog: folding each title once (credits and packs once per distinct text), packs
// ranked by name, statistics summed over the levels.
#include "selection/SongCatalog.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "platform/TextFold.h"

namespace {

// Folds texts that repeat (credits) once each.
class FoldMemo {
  public:
    const std::string& Fold(const std::wstring& text) {
        auto it = memo_.find(text);
        if (it == memo_.end()) it = memo_.emplace(text, platform::FoldForSearch(text)).first;
        return it->second;
    }

  private:
    std::unordered_map<std::wstring, std::string> memo_;
};

// Plays summed over the levels and the latest time of any level.
void CountStats(const SongStats& song, SongFacts& facts) {
    for (const ChartStats& level : song.levels) {
        facts.plays += level.plays;
        facts.lastPlayed = std::max(facts.lastPlayed, level.lastPlayed);
    }
}

}  // namespace

void SongCatalog::Build(const std::vector<MusicEntry>& entries,
                        const std::vector<PackRecord>& packs, const std::vector<SongStats>& stats) {
    facts_.assign(entries.size(), {});
    packs_.clear();
    std::unordered_map<std::wstring, int32_t> packIndex;
    std::unordered_map<std::wstring, const SongStats*> statsOf;
    for (const SongStats& song : stats) statsOf.emplace(song.music, &song);
    FoldMemo credits;
    for (size_t i = 0; i < entries.size(); ++i) {
        SongFacts& facts = facts_[i];
        facts.title = platform::FoldForSearch(entries[i].title);
        facts.credit = credits.Fold(entries[i].credit);
        const PackRecord& record = i < packs.size() ? packs[i] : PackRecord{kOtherPack, 0};
        auto [it, added] = packIndex.try_emplace(record.pack, static_cast<int32_t>(packs_.size()));
        if (added) packs_.push_back({record.pack, platform::FoldForSearch(record.pack), 0});
        facts.pack = it->second;
        facts.added = record.added;
        if (auto song = statsOf.find(entries[i].title); song != statsOf.end())
            CountStats(*song->second, facts);
    }
    std::vector<int32_t> byName(packs_.size());
    std::iota(byName.begin(), byName.end(), 0);
    // By name, the packs nobody named after the others.
    std::stable_sort(byName.begin(), byName.end(), [this](int32_t a, int32_t b) {
        const bool otherA = packs_[a].name == kOtherPack, otherB = packs_[b].name == kOtherPack;
        if (otherA != otherB) return otherB;
        return packs_[a].folded < packs_[b].folded;
    });
    for (size_t rank = 0; rank < byName.size(); ++rank)
        packs_[byName[rank]].rank = static_cast<int32_t>(rank);
}
