// ReservedTitles: titles an imported song may not take, because a song's title also names its
// jacket (a texture key and "Data/Texture/TITLE.png"): the names and files of the textures the
// screens load by fixed name. A jacket under such a name would replace that texture on every
// screen. Compared as the game's file lookup compares them, letter case aside.
// Depends on: import/SongTitle.h.
#pragma once

#include <string>

namespace importer {

// True when title is the key or the file stem of one of the game's own textures.
bool IsReservedTitle(const std::wstring& title);

}  // namespace importer
