// SimfileReader: a .sm or .ssc file read into a SourceSong: names, music and pictures, and every
// chart with its notes timed by the song's timing or, for tags a .ssc chart carries itself, by
// the chart's own. Charts of lights, and charts whose timing cannot be used, are left out.
// Depends on: import/SourceSong.h, import/SimfileTags.h, import/NoteRows.h, import/Timing.h.
#pragma once

#include <string>

#include "import/SourceSong.h"

namespace importer {

// Reads the simfile bytes into song (folder is left to the caller). False with the reason in
// error when the file holds no chart that could be read.
bool ReadSimfile(const std::string& bytes, SourceSong& song, std::string& error);

// The rank of a named difficulty (0 Beginner … 5 Edit; older names included, unknown is Edit).
int DifficultyRank(const std::wstring& name);

}  // namespace importer
