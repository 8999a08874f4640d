// SongBrowser: the songs the selection steps through: the entries that match the search, in
// the chosen order (optionally grouped by pack), and the highlighted place among them. A change
// of search, order or grouping keeps the highlighted song where it is still shown. Steps wrap
// at both ends, as the selection's always did; jumps go to the first song of the previous or
// next pack (or initial), wrapping too; a random jump never stays on the current song when
// there are two or more.
// Depends on: selection/SongCatalog.h, selection/SongOrder.h, selection/SongSearch.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "selection/MusicList.h"
#include "selection/SongCatalog.h"
#include "selection/SongOrder.h"

class SongBrowser {
  public:
    // Starts over a list (which must outlive the browser's use of it): every entry, arranged
    // by rule, with entry highlighted (the first shown song when it is not shown).
    void Reset(const std::vector<MusicEntry>& entries, PackReader packs,
               const std::vector<SongStats>& stats, const ViewRule& rule, int32_t entry);
    // Changes the order, grouping or level of the rule; the highlighted song stays.
    void SetRule(const ViewRule& rule);
    // Shows only the songs matching the folded words (none: every song).
    void SetSearch(std::vector<std::string> words);
    // Prepares what searching needs (folded texts, packs), so that no keystroke waits for it.
    void PrepareSearch();

    // Moves the highlight by steps, wrapping.
    void Step(int32_t steps);
    // Moves to the first song of the previous (-1) or next (+1) group; false when the order
    // has no groups.
    bool JumpGroup(int32_t direction);
    // Moves to a random other song; draw is any random number.
    void JumpRandom(uint32_t draw);
    // Highlights entry when it is shown; false otherwise.
    bool Highlight(int32_t entry);

    // True when no song matches.
    bool empty() const { return view_.empty(); }
    // Songs shown, and the highlighted one's place among them (0-based).
    int32_t size() const { return static_cast<int32_t>(view_.size()); }
    int32_t place() const { return place_; }
    // The entry step places away from the highlighted one, wrapping; -1 when none is shown.
    int32_t EntryAt(int32_t step) const;
    // The highlighted entry, or -1.
    int32_t entry() const { return EntryAt(0); }
    const ViewRule& rule() const { return rule_; }
    // The pack of an entry (the packs read when not yet).
    const std::wstring& PackOf(int32_t entry);

  private:
    // Arranges every entry by the rule.
    void Arrange();
    // Rebuilds the view from the arrangement and the search, keeping entry highlighted when it
    // is shown.
    void Rebuild(int32_t entry);

    const std::vector<MusicEntry>* entries_ = nullptr;
    SongCatalog catalog_;
    ViewRule rule_;
    std::vector<std::string> words_;
    std::vector<int32_t> arranged_;  // every entry, in the rule's order
    std::vector<int32_t> view_;      // positions in the entries, in the shown order
    std::vector<int32_t> groups_;    // the group of each shown song, or empty
    int32_t place_ = 0;
};
