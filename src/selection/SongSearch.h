// SongSearch: the search of the selection: a song matches when every word of the search line
// appears in its title, its credit or its pack's name, compared in their folded forms
// (platform/TextFold.h: letter case, full-width and half-width forms and accents ignored).
// Depends on: selection/SongCatalog.h, platform/TextFold.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "selection/SongCatalog.h"

// The folded words of a search line, split at blanks (full-width blanks too); none for a line
// of blanks.
std::vector<std::string> SearchWords(std::wstring_view line);

// True when every word appears in the entry's title, credit or pack name.
bool SongMatches(const SongCatalog& catalog, size_t entry, const std::vector<std::string>& words);
