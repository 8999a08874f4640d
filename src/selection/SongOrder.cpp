// SongOrder: the order table, one comparison per order over the catalog's prepared facts, and
// the group keys of the jumps.
#include "selection/SongOrder.h"

#include <algorithm>

namespace {

// Each order's label on screen and its word in the file, by value.
struct OrderNames {
    const wchar_t* label;
    const char* word;
};
constexpr OrderNames kOrderNames[kOrderCount] = {
    {L"list", "list"},
    {L"title", "title"},
    {L"credit", "credit"},
    {L"level", "rating"},
    {L"recently added", "added"},
    {L"recently played", "played"},
    {L"most played", "most-played"},
};

// Orders by a rating: playable ones (1 and more) ascending, the others after them.
int64_t RatingKey(int32_t rating) { return rating >= 1 ? rating : int64_t{1} << 40; }

// True when entry a comes before entry b in the order (not counting packs); false for ties.
bool Before(const SongCatalog& c, const std::vector<MusicEntry>& entries, const ViewRule& rule,
            int32_t a, int32_t b) {
    switch (rule.order) {
        case SongOrder::kList:
            return false;
        case SongOrder::kTitle:
            return c[a].title < c[b].title;
        case SongOrder::kCredit:
            return c[a].credit < c[b].credit;
        case SongOrder::kRating:
            return RatingKey(entries[a].levels[rule.level]) <
                   RatingKey(entries[b].levels[rule.level]);
        case SongOrder::kAdded:
            return c[a].added > c[b].added;
        case SongOrder::kPlayed:
            return c[a].lastPlayed > c[b].lastPlayed;
        case SongOrder::kMostPlayed:
            return c[a].plays > c[b].plays;
    }
    return false;
}

// The first character of folded text, digits all as "0" (one group for every number).
int32_t Initial(const std::string& folded) {
    if (folded.empty()) return 0;
    const unsigned char first = static_cast<unsigned char>(folded[0]);
    if (first >= '0' && first <= '9') return '0';
    if (first < 0x80) return first;
    // The code point of a multi-byte UTF-8 character.
    const int length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    int32_t code = first & (0x3F >> (length - 1));
    for (int i = 1; i < length && i < static_cast<int>(folded.size()); ++i)
        code = (code << 6) | (static_cast<unsigned char>(folded[i]) & 0x3F);
    return code;
}

}  // namespace

SongOrder NextOrder(SongOrder order) {
    return static_cast<SongOrder>((static_cast<int32_t>(order) + 1) % kOrderCount);
}

const wchar_t* OrderLabel(SongOrder order) {
    return kOrderNames[static_cast<int32_t>(order)].label;
}

const char* OrderWord(SongOrder order) { return kOrderNames[static_cast<int32_t>(order)].word; }

bool OrderFromWord(const std::string& word, SongOrder& order) {
    for (int32_t i = 0; i < kOrderCount; ++i)
        if (word == kOrderNames[i].word) return order = static_cast<SongOrder>(i), true;
    return false;
}

void ArrangeSongs(const SongCatalog& catalog, const std::vector<MusicEntry>& entries,
                  const ViewRule& rule, std::vector<int32_t>& members) {
    if (rule.order == SongOrder::kList && !rule.grouped) return;
    std::stable_sort(members.begin(), members.end(), [&](int32_t a, int32_t b) {
        if (rule.grouped) {
            const int32_t packA = catalog.pack(catalog[a].pack).rank;
            const int32_t packB = catalog.pack(catalog[b].pack).rank;
            if (packA != packB) return packA < packB;
        }
        return Before(catalog, entries, rule, a, b);
    });
}

std::vector<int32_t> GroupKeys(const SongCatalog& catalog, const std::vector<int32_t>& view,
                               const ViewRule& rule) {
    std::vector<int32_t> keys;
    if (!rule.grouped && rule.order != SongOrder::kTitle && rule.order != SongOrder::kCredit)
        return keys;
    keys.reserve(view.size());
    for (int32_t entry : view) {
        const SongFacts& facts = catalog[entry];
        if (rule.grouped)
            keys.push_back(catalog.pack(facts.pack).rank);
        else
            keys.push_back(Initial(rule.order == SongOrder::kTitle ? facts.title : facts.credit));
    }
    return keys;
}
