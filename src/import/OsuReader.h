// OsuReader: one beatmap file (.osu) of the key mode read into a SourceSong with one chart:
// names, audio and background picture, the key count, the hit objects (milliseconds of the
// audio; a lead-in before the audio does not move them) and the tempo from the timing points.
// Depends on: import/SourceSong.h.
#pragma once

#include <string>

#include "import/SourceSong.h"

namespace importer {

// Reads the beatmap bytes; song gets the names and files and exactly one chart. False with
// the reason in error for a beatmap of another mode or one without notes.
bool ReadOsu(const std::string& bytes, SourceSong& song, std::string& error);

}  // namespace importer
