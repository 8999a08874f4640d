// TimingFiles: the two small files that keep the player's timing, beside "Config.cfg" (whose
// format stays as it is):
//   "Timing.cfg"       GlobalOffset[MS], DeviceLatency[0|1], ErrorBar[0|1], one a line
//   "SongOffsets.txt"  one song a line: its offset in ms, a TAB, then its title in UTF-8 to the
//                      end of the line (a title may hold any character but a line break; CRs
//                      before the line feed are dropped)
// Offsets are whole milliseconds from -300 to 300. Readers skip keys they do not know; a value
// they cannot use makes the file damaged, reported as "LINE: message". Both are written
// atomically and privately (0600).
// Depends on: settings/KeyValueReader.h, platform/Codepage.h.
#pragma once

#include <map>
#include <string>
#include <string_view>

// The files' names, in the working folder.
inline constexpr const char* kTimingFile = "Timing.cfg";
inline constexpr const char* kSongOffsetsFile = "SongOffsets.txt";

// The bounds of every offset, in milliseconds.
inline constexpr int kMaxOffsetMs = 300;

// What "Timing.cfg" holds.
struct TimingChoices {
    int globalOffsetMs = 0;     // the player hears this much late (positive) or early
    bool deviceLatency = true;  // the latency the sound device reports is added
    bool errorBar = true;       // the hit-error bar shows during play
};

// Reads the text of "Timing.cfg" into choices; false with "LINE: message" in error.
bool ParseTimingText(std::string_view text, TimingChoices* choices, std::string* error);
// The text of "Timing.cfg" for choices.
std::string TimingText(const TimingChoices& choices);

// Per-song offsets by title; songs without an entry have 0.
using SongOffsetTable = std::map<std::wstring, int>;

// Reads the text of "SongOffsets.txt"; false with "LINE: message" in error. A later line of
// the same title wins.
bool ParseSongOffsetsText(std::string_view text, SongOffsetTable* table, std::string* error);
// The text of "SongOffsets.txt", titles in order, offsets of 0 left out, and titles a line
// cannot hold (none of a music list's can be such) too.
std::string SongOffsetsText(const SongOffsetTable& table);
// True when a title can be written as a line: not empty, no line break.
bool StorableTitle(const std::wstring& title);
