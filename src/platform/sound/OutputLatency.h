// OutputLatency: the private configuration of the sound library. A short mixing period (10 ms
// x 3, far below the library's 70 ms), so a key's sound comes out soon after its frame; room for
// 4096 sounds at once; the library's better (23rd-order sinc) resampler for content at other rates;
// and a stereo output, which the game's sounds (always two channels, sent straight to the speakers)
// need. OpenAL Soft takes these only from a configuration file, read when the first device opens;
// this writes such a file and points the library at it. LYRANDEL_AUDIO_PERIOD="MSxN" (for example
// "10x4") chooses another period and "off" keeps the library's own period; a configuration the user
// named in ALSOFT_CONF always wins.
// Depends on: OpenAL Soft (for the report).
#pragma once

#include <string>

namespace platform {

// Sounds the device must be able to play at once.
constexpr int kSoundSources = 4096;

// Period asked for, in milliseconds and periods; both 0 when the library's own settings hold.
struct OutputPeriod {
    int milliseconds = 0;
    int periods = 0;
};

// Parses a LYRANDEL_AUDIO_PERIOD value ("5x3"; "off" gives zeros); false when malformed or
// out of range (1 to 100 ms, 2 to 16 periods).
bool ParseOutputPeriod(const std::string& text, OutputPeriod& out);

// Before the sound library's first call: writes the private configuration file and names it
// in ALSOFT_CONF. Returns the period asked for (zeros when none).
OutputPeriod ConfigureOutputPeriod();

// After a device has opened (the library has read its configuration): deletes the private
// file, leaving the environment as it is. Harmless when there is none.
void ForgetOutputConfig();

// What the default output device reports once open.
struct OutputLatencyReport {
    bool opened = false;
    int frequency = 0;      // mixing rate, Hz
    int updateFrames = 0;   // one period, in sample frames (rate / refresh)
    double latencyMs = -1;  // the device's own latency figure; -1 when it gives none
};

// Opens the default device with the configured period, reads its figures, and closes it.
OutputLatencyReport MeasureOutputLatency();

}  // namespace platform
