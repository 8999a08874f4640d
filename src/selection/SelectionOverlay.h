// SelectionOverlay: what the selection shows besides its specified blocks, all in the screen's
// free space: the search line and where the highlight is ("12 of 1000", "no song matches") at
// the top left, the order at the top right, the pack of the highlighted song left of the frame
// (when grouped), the marks of its three levels right of the frame beside the best score, the
// import of dropped songs at the right, and a line of the added keys at the bottom.
// Depends on: services/TextRenderer.h, settings/PlayStatsFile.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/TextRenderer.h"
#include "settings/PlayStatsFile.h"

// Everything the overlay draws in one frame.
struct OverlayView {
    bool searchShown = false;
    bool searchEditing = false;
    std::wstring searchText;
    int32_t place = 0;  // 1-based place of the highlight among the songs shown
    int32_t shown = 0;  // songs shown (those matching the search)
    int32_t total = 0;  // songs in the list
    const wchar_t* order = L"";
    bool grouped = false;
    std::wstring pack;                 // the highlighted song's pack
    const SongStats* stats = nullptr;  // the highlighted song's counts, if any
    int32_t level = 0;                 // the chosen level
    std::wstring importHeading;        // empty when no import was made in this visit
    // The import's report lines (the scene's own, not copied each frame); null for none.
    const std::vector<std::wstring>* importLines = nullptr;
};

// Draws the overlay's blocks.
void DrawOverlay(const OverlayView& view);
// The text of a level's mark and plays: "Lv2 ★ ×3", "Lv1 -" when never played.
std::wstring MarkLine(int32_t level, const SongStats* stats);
// A line of the importer's report as the screen shows it: a song's line without its source
// path, a skipped path by its last part; empty for the per-level detail lines.
std::wstring ShortImportLine(const std::string& line);
