// LaneMapping: the column table and one pass over the notes in time order, remembering the
// update of the last note kept in each lane.
#include "import/LaneMapping.h"

#include <climits>
#include <cmath>

namespace importer {

namespace {

// Presses of one key need an update with the key up between them.
constexpr long long kMinUpdatesApart = 2;

// The order in which a pad's columns are laid out.
constexpr int kPadOrder[4] = {kLeft, kDown, kUp, kRight};

}  // namespace

std::vector<LanePlace> LanePlaces(int columns) {
    std::vector<LanePlace> places;
    if (columns == 4) {
        // One pad over two lanes: Left and Down red, Up and Right blue.
        for (int c = 0; c < 4; ++c)
            places.push_back({c < 2 ? Lane::kRed : Lane::kBlue, kPadOrder[c]});
    } else if (columns >= 5 && columns <= 8) {
        const int red = (columns + 1) / 2;
        for (int c = 0; c < columns; ++c)
            places.push_back(
                {c < red ? Lane::kRed : Lane::kBlue, kPadOrder[c < red ? c : c - red]});
    }
    return places;
}

long long UpdateOf(double seconds) {
    return static_cast<long long>(std::floor(seconds * 62.5 + 0.5));
}

std::vector<PlacedNote> PlaceNotes(const std::vector<SourceNote>& notes,
                                   const std::vector<LanePlace>& places, PlacementCounts& counts) {
    std::vector<PlacedNote> placed;
    long long last[2] = {LLONG_MIN / 2, LLONG_MIN / 2};
    for (const SourceNote& note : notes) {
        if (note.column < 0 || note.column >= static_cast<int>(places.size())) continue;
        LanePlace place = places[static_cast<size_t>(note.column)];
        const long long update = UpdateOf(note.seconds);
        int lane = static_cast<int>(place.lane);
        if (update - last[lane] < kMinUpdatesApart) {
            if (update - last[1 - lane] < kMinUpdatesApart) {
                ++counts.tooClose;
                continue;
            }
            lane = 1 - lane;
            place.lane = static_cast<Lane>(lane);
            ++counts.moved;
        }
        last[lane] = update;
        if (note.kind != NoteKind::kTap) ++counts.holds;
        placed.push_back({note.seconds, place});
    }
    return placed;
}

}  // namespace importer
