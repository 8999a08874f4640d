// ContentCheck: reads every content file the game would read, with the game's own readers,
// and reports each problem as "file:line: message", or "file: message" for a whole file.
// Depends on: settings/Config, selection/MusicList, gameplay/ChartReader, media/WAVFileReader,
// platform/ImageCodec.
#pragma once

#include <string>
#include <vector>

// Checks the content of the working directory; returns every problem found, in file order.
std::vector<std::string> CheckContent();
// Runs the check and prints its findings; returns the exit status (1 when anything is wrong).
int RunContentCheck();
