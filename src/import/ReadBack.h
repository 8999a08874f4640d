// ReadBack: a staged song read back through the game's own readers before it is listed: its
// music list line (the title's round trip through code page 932 and the list's own title
// rules), its jacket, the chart of each rated level and the opening of its song file. What the
// game could not read is never put in place.
// Depends on: import/SongStore.h (StagedSong), import/MusicListFile.h, selection/SongFiles.h.
#pragma once

#include <string>

#include "import/SongStore.h"

namespace importer {

// True when the game reads the staged song as it was meant; false with the reason in error.
bool ReadBackStagedSong(const StagedSong& song, std::string& error);

}  // namespace importer
