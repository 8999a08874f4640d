// SourceSong: a song as read from another game's files, before conversion: its names, the
// files it refers to, and its charts with every note already timed in seconds of the audio.
// Depends on: nothing.
#pragma once

#include <string>
#include <vector>

namespace importer {

// What a playable source note was; every kind becomes a tap at its head.
enum class NoteKind { kTap, kHold, kRoll };

struct SourceNote {
    double seconds = 0.0;  // into the audio file
    int column = 0;        // 0-based
    NoteKind kind = NoteKind::kTap;
};

// Source notes that never become notes of ours, by reason.
struct LeftOut {
    int mines = 0;
    int lifts = 0;
    int fakes = 0;   // fake notes and notes in fake sections
    int warped = 0;  // notes skipped by a warp or a backward jump of the timing
};

struct SourceChart {
    int columns = 0;
    std::wstring name;  // difficulty name as the report shows it ("Hard", a beatmap's version)
    int rank = 0;       // named difficulty: 0 Beginner … 5 Edit (0 for beatmaps)
    int meter = 0;      // the source's own rating (simfiles)
    double notesPerSecond = 0.0;
    double tempo = 0.0;             // longest-held tempo of the played part, beats a minute
    std::vector<SourceNote> notes;  // by time, then column
    LeftOut leftOut;
    bool fromBeatmap = false;  // rated and sorted by notes a second
};

struct SourceSong {
    std::wstring title, titleLatin;  // original and Latin transliteration (may be empty)
    std::wstring artist, artistLatin;
    std::string folder;                 // the source folder: audio and pictures are found there
    std::string audioFile;              // as the source names it, relative to folder
    std::vector<std::string> pictures;  // jacket, background, banner as named, best first
    std::vector<SourceChart> charts;
};

}  // namespace importer
