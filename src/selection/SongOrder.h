// SongOrder: the orders the selection can show its songs in, and the arrangement of a list of
// entries by an order, optionally grouped by pack. Ties keep the music list's order.
// Depends on: selection/SongCatalog.h, selection/MusicList.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "selection/MusicList.h"
#include "selection/SongCatalog.h"

enum class SongOrder : int32_t {
    kList,        // the music lists' order
    kTitle,       // by title, A to Z
    kCredit,      // by credit, A to Z
    kRating,      // by the chosen level's rating, easiest first; unplayable last
    kAdded,       // most recently imported first; songs of unknown date after
    kPlayed,      // most recently played first; never played last
    kMostPlayed,  // most plays first
};
inline constexpr int32_t kOrderCount = 7;

// How the selection arranges its songs.
struct ViewRule {
    SongOrder order = SongOrder::kList;
    bool grouped = false;  // packs together, packs by name
    int32_t level = 0;     // the level whose rating kRating compares
};

// The order after this one, back to the list's after the last.
SongOrder NextOrder(SongOrder order);
// The words of an order: as shown on screen ("title") and as stored in a file ("title").
const wchar_t* OrderLabel(SongOrder order);
const char* OrderWord(SongOrder order);
// The order a stored word names; false for an unknown word.
bool OrderFromWord(const std::string& word, SongOrder& order);

// Arranges members (positions in entries) by the rule; a stable sort, so ties keep the order
// of members, which callers give in list order.
void ArrangeSongs(const SongCatalog& catalog, const std::vector<MusicEntry>& entries,
                  const ViewRule& rule, std::vector<int32_t>& members);

// The group of each position of an arranged view for the pack and initial jumps: the pack's
// rank when grouped, the first character of the title or credit in those orders, and nothing
// (an empty result) in the other orders.
std::vector<int32_t> GroupKeys(const SongCatalog& catalog, const std::vector<int32_t>& view,
                               const ViewRule& rule);
