// PlaySession and NoteRecord: the loaded chart of the current run (tempo, play length, the red
// and blue lanes' notes, and the chart file's bytes, by whose digest a replay names its chart)
// and the scrolling title's counters; LoadChart fills it from the chart file that MusicChoice
// names.
// Depends on: selection/MusicChoice.h, gameplay/ChartReader.h, gameplay/NoteRecord.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/NoteRecord.h"

struct PlaySession {
    int32_t BPM = 0;
    int32_t Second = 0;
    std::vector<NoteRecord> redNotes;
    std::vector<NoteRecord> blueNotes;
    int32_t noteCount = 0;
    // The chart file as it was read, so that its run's replay names it without reading it again.
    std::string chartBytes;
    int32_t titleScroll = 0;
    int32_t titleScrollTick = 0;

    // Reads "Data/Music/" + title + "/" + level + ".nsd" of MusicChoice. False when the file
    // cannot be opened or is unplayable; the first problem is then written to stderr.
    bool LoadChart();
};

// The one process-wide chart record; not cleared between runs.
PlaySession& GetPlaySession();

// The chart path of a piece and level, relative to the working directory.
std::wstring ChartPath(const std::wstring& title, const std::wstring& level);
