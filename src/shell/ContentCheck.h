// ContentCheck: reads every content file the game would read, with the game's own readers,
// and reports each problem as "file:line: message" ("file: message" for a whole file), and
// each file found only under a name of another letter case as a warning that does not fail
// the check.
// Depends on: settings/Config, selection/MusicList, selection/SongFiles (each song's files).
#pragma once

#include <string>
#include <vector>

#include "selection/SongFiles.h"

// Checks the content of the content folders (platform/files/ContentFiles.h); returns every problem
// found, in file order. Files found under a name of another letter case go into warnings.
// The presence check leaves out "Config.cfg", which is the player's, not content.
std::vector<std::string> CheckContent(CheckDepth depth = CheckDepth::kFull,
                                      std::vector<std::string>* warnings = nullptr);
// Runs the check and prints its findings; returns the exit status (1 when anything is wrong).
int RunContentCheck();
