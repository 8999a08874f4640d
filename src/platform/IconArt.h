// IconArt: the game's icon, a red and a blue note over a bar on a dark disc, drawn at any
// size from its shapes (edges anti-aliased), for the window and for the installed icons.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// The icon as size x size straight-alpha RGBA bytes, row by row from the top.
std::vector<uint8_t> DrawIcon(int size);

}  // namespace platform
