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

void SongCatalog::Build(const std::vector<MusicEntry>& entries, PackReader packs,
                        const std::vector<SongStats>& stats) {
    entries_ = &entries;
    readPacks_ = std::move(packs);
    texts_ = packsRead_ = false;
    facts_.assign(entries.size(), {});
    packs_.assign(1, {kOtherPack, platform::FoldForSearch(kOtherPack), 0});
    std::unordered_map<std::wstring, const SongStats*> statsOf;
    for (const SongStats& song : stats) statsOf.emplace(song.music, &song);
    for (size_t i = 0; i < entries.size(); ++i)
        if (auto song = statsOf.find(entries[i].title); song != statsOf.end())
            CountStats(*song->second, facts_[i]);
}

void SongCatalog::NeedTexts() {
    if (texts_) return;
    texts_ = true;
    FoldMemo credits;
    for (size_t i = 0; i < facts_.size(); ++i) {
        facts_[i].title = platform::FoldForSearch((*entries_)[i].title);
        facts_[i].credit = credits.Fold((*entries_)[i].credit);
    }
}

void SongCatalog::NeedPacks() {
    if (packsRead_) return;
    packsRead_ = true;
    const std::vector<PackRecord> packs = readPacks_ ? readPacks_() : std::vector<PackRecord>{};
    packs_.clear();
    std::unordered_map<std::wstring, int32_t> packIndex;
    for (size_t i = 0; i < facts_.size(); ++i) {
        const PackRecord& record = i < packs.size() ? packs[i] : PackRecord{kOtherPack, 0};
        auto [it, added] = packIndex.try_emplace(record.pack, static_cast<int32_t>(packs_.size()));
        if (added) packs_.push_back({record.pack, platform::FoldForSearch(record.pack), 0});
        facts_[i].pack = it->second;
        facts_[i].added = record.added;
    }
    RankPacks();
}

void SongCatalog::RankPacks() {
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
