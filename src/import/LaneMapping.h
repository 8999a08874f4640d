// LaneMapping: source columns onto our two lanes of four directions, and the rule that keeps
// every note playable: one lane judges one note at a time and a key must be up for an update
// between two presses, so two notes of one lane less than 2 updates apart cannot both stay.
// The later one moves to the other lane with its direction when that lane is free within 2
// updates, else it is dropped.
// Depends on: import/SourceSong.h.
#pragma once

#include <vector>

#include "import/SourceSong.h"

namespace importer {

enum class Lane { kRed = 0, kBlue = 1 };

// Directions as the chart file numbers them.
enum Direction { kUp = 0, kRight = 1, kDown = 2, kLeft = 3 };

struct LanePlace {
    Lane lane = Lane::kRed;
    int direction = kLeft;
};

// The place of each column for a chart of that many columns (4 to 8); empty for other counts.
std::vector<LanePlace> LanePlaces(int columns);

struct PlacedNote {
    double seconds = 0.0;
    LanePlace place;
};

// What placing changed.
struct PlacementCounts {
    int holds = 0;     // holds and rolls kept as a tap at their head
    int moved = 0;     // moved to the other lane
    int tooClose = 0;  // dropped: both lanes taken
};

// The update (62.5 a second, nearest) at which a sound at seconds into the audio must be hit.
long long UpdateOf(double seconds);

// Places notes (by time, columns within places) into the lanes, applying the rule above.
std::vector<PlacedNote> PlaceNotes(const std::vector<SourceNote>& notes,
                                   const std::vector<LanePlace>& places, PlacementCounts& counts);

}  // namespace importer
