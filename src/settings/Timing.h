// Timing: the player's timing, a process-wide record beside Config: the global audio offset
// (the player hears the song this many ms late; positive starts it that far into itself,
// negative delays it), the per-song offsets added to it, the sound device's own latency, also
// added unless switched off, and the hit-error bar's switch. The offsets move when the song
// sounds against the notes, never the judgement windows. --offset MS replaces the global
// offset for one run; the remembered one stays unless the player sets another.
// Loaded at start-up from "Timing.cfg" and "SongOffsets.txt" (settings/TimingFiles.h); a file
// that cannot be used is reported on stderr, set aside as NAME.damaged and the defaults are
// used. Every change is written at once. Also how the screens write an offset and a timing
// error.
// Depends on: settings/TimingFiles.h, platform/files (reading, atomic writes, setting aside).
#pragma once

#include <optional>
#include <string>

#include "settings/TimingFiles.h"

struct Timing {
    TimingChoices choices;
    SongOffsetTable songOffsets;
    std::optional<int> runOffsetMs;  // --offset of this run, in place of the global offset
    double deviceLatencyMs = 0;      // what the sound device reported when it opened
};

// The one process-wide record.
Timing& GetTiming();

// Reads both files into the record (defaults first); a damaged file is reported and set aside.
void LoadTiming();

// The global offset in force: --offset's, else the remembered one.
int GlobalOffsetMs();
// A song's own offset (0 when it has none).
int SongOffsetMs(const std::wstring& title);
// The device latency added to the offsets: the reported one, or 0 when switched off.
double AddedLatencyMs();
// Where a play of the song starts, in ms into itself (negative: after that much silence): the
// global offset, the song's own and the device latency.
double SongStartMs(const std::wstring& title);

// Each of these changes the record and writes its file; false with one line in error when
// the file could not be written (the record keeps the change for this run).
bool SetGlobalOffset(int ms, std::string* error);  // clamped; ends the --offset of this run
bool SetSongOffset(const std::wstring& title, int ms, std::string* error);  // clamped
bool SetErrorBar(bool on, std::string* error);
bool SetDeviceLatency(bool added, std::string* error);

// Whole milliseconds with a sign when not 0: "+5 ms", "0 ms", "-20 ms".
std::wstring OffsetText(int ms);
// Milliseconds with a sign and one decimal: "+3.5 ms", "-0.2 ms".
std::wstring SignedMsText(double ms);
