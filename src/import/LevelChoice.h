// LevelChoice: which source charts become levels 1 to 3. Charts of 8 columns are preferred,
// else 4, else 5 to 7; they are sorted by difficulty (named difficulty, then meter; beatmaps by
// notes a second); three or fewer are all taken in that order, of more the easiest, the middle
// one and the hardest.
// Depends on: import/SourceSong.h.
#pragma once

#include <vector>

#include "import/SourceSong.h"

namespace importer {

// Indices into charts of the chosen levels, easiest first; empty when no chart with notes has
// 4 to 8 columns.
std::vector<size_t> ChooseLevels(const std::vector<SourceChart>& charts);

// The rating written to the music list: the meter, or notes a second rounded up; at least 1.
int LevelRating(const SourceChart& chart);

}  // namespace importer
