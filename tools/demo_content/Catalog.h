// Catalog: the demo songs, their music, charts and covers described as plans.
// Depends on: Song.h.
#pragma once

#include <vector>

#include "Song.h"

namespace democontent {

// The demo songs in the order of the music list.
std::vector<SongPlan> DemoSongs();

}  // namespace democontent
