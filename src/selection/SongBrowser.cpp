// SongBrowser: filter, arrange, then find the highlighted song again; steps and jumps on the
// arranged view.
#include "selection/SongBrowser.h"

#include <algorithm>

#include "selection/SongSearch.h"

void SongBrowser::Reset(const std::vector<MusicEntry>& entries, PackReader packs,
                        const std::vector<SongStats>& stats, const ViewRule& rule, int32_t entry) {
    entries_ = &entries;
    catalog_.Build(entries, std::move(packs), stats);
    rule_ = rule;
    words_.clear();
    Arrange();
    Rebuild(entry);
}

void SongBrowser::SetRule(const ViewRule& rule) {
    const int32_t current = entry();
    rule_ = rule;
    Arrange();
    Rebuild(current);
}

void SongBrowser::PrepareSearch() {
    catalog_.NeedTexts();
    catalog_.NeedPacks();
}

const std::wstring& SongBrowser::PackOf(int32_t entry) {
    catalog_.NeedPacks();
    return catalog_.pack(catalog_[static_cast<size_t>(entry)].pack).name;
}

void SongBrowser::Arrange() {
    // Only what the rule compares is prepared.
    if (rule_.grouped || rule_.order == SongOrder::kAdded) catalog_.NeedPacks();
    if (rule_.order == SongOrder::kTitle || rule_.order == SongOrder::kCredit) catalog_.NeedTexts();
    arranged_.resize(catalog_.size());
    for (size_t i = 0; i < arranged_.size(); ++i) arranged_[i] = static_cast<int32_t>(i);
    ArrangeSongs(catalog_, *entries_, rule_, arranged_);
}

void SongBrowser::SetSearch(std::vector<std::string> words) {
    const int32_t current = entry();
    words_ = std::move(words);
    if (!words_.empty()) PrepareSearch();
    Rebuild(current);
}

void SongBrowser::Rebuild(int32_t entry) {
    // Filtering keeps the arrangement's order, so a keystroke never sorts.
    if (words_.empty()) {
        view_ = arranged_;
    } else {
        view_.clear();
        for (int32_t i : arranged_)
            if (SongMatches(catalog_, static_cast<size_t>(i), words_)) view_.push_back(i);
    }
    groups_ = GroupKeys(catalog_, view_, rule_);
    place_ = 0;
    Highlight(entry);
}

bool SongBrowser::Highlight(int32_t entry) {
    const auto it = std::find(view_.begin(), view_.end(), entry);
    if (it == view_.end()) return false;
    place_ = static_cast<int32_t>(it - view_.begin());
    return true;
}

void SongBrowser::Step(int32_t steps) {
    if (view_.empty()) return;
    const int32_t n = size();
    place_ = ((place_ + steps) % n + n) % n;
}

bool SongBrowser::JumpGroup(int32_t direction) {
    if (groups_.empty()) return false;
    const int32_t n = size();
    // The start of the current group, then the start of the group before or after it.
    int32_t start = place_;
    while (start > 0 && groups_[start - 1] == groups_[place_]) --start;
    if (direction > 0) {
        int32_t next = start;
        while (next < n && groups_[next] == groups_[start]) ++next;
        place_ = next % n;
        return true;
    }
    int32_t previous = (start + n - 1) % n;
    while (previous > 0 && groups_[previous - 1] == groups_[previous]) --previous;
    place_ = previous;
    return true;
}

void SongBrowser::JumpRandom(uint32_t draw) {
    const int32_t n = size();
    if (n < 2) return;
    // One of the n - 1 other places, each as likely.
    place_ = (place_ + 1 + static_cast<int32_t>(draw % static_cast<uint32_t>(n - 1))) % n;
}

int32_t SongBrowser::EntryAt(int32_t step) const {
    if (view_.empty()) return -1;
    const int32_t n = size();
    return view_[static_cast<size_t>(((place_ + step) % n + n) % n)];
}
