// Charts: the notes of the three levels, taken from the drum hits and melody of an
// arrangement, and their text in the chart file grammar.
// Depends on: Song.h.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Song.h"

namespace democontent {

enum Direction { kUp = 0, kRight = 1, kDown = 2, kLeft = 3 };

struct ChartNote {
    int step = 0;
    Direction direction = kUp;
};

struct ChartLanes {
    std::vector<ChartNote> red;  // ascending steps, never two on one step
    std::vector<ChartNote> blue;
};

// The notes of level 1 (quarter-note kicks on the red lane), 2 (kicks and snares on both
// lanes) or 3 (eighths over both lanes: kicks and beat hats, snares and melody).
ChartLanes ChartForLevel(const Arrangement& arrangement, int level);
// The note value whose note reaches the hit line exactly when the given audio frame sounds.
double NoteValue(int bpm, size_t frame);
// The play length in seconds that keeps the notes moving until a song of frames has ended.
int PlaySeconds(size_t frames);
// The chart file text: "BPM", "Second", then one line per step with notes.
std::string ChartText(const Arrangement& arrangement, const ChartLanes& lanes, int second);

}  // namespace democontent
