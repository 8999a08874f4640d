// Timing: the record, its loading with damaged files set aside, the offsets a song starts
// with, the writes that follow each change, and the texts of offsets and errors.
#include "settings/Timing.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"

namespace {

// Reads one of the files through parse; a missing file leaves the defaults. A file that
// cannot be used is reported and set aside as NAME.damaged (or the first free NAME.damaged.N),
// so the next write does not lose what it held.
template <class Parse>
void LoadFile(const char* name, Parse parse) {
    std::string bytes, error;
    switch (platform::ReadWholeFile(name, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return;
        case platform::ReadResult::kFailed:
            std::fprintf(stderr, "lyrandel: %s; using the defaults\n", error.c_str());
            return;
        case platform::ReadResult::kOk:
            break;
    }
    if (parse(bytes, &error)) return;
    std::string aside;
    const bool moved = platform::SetFileAside(name, &aside, nullptr);
    std::fprintf(stderr, "lyrandel: %s:%s; %s, using the defaults\n", name, error.c_str(),
                 moved ? ("set aside as " + aside).c_str() : "left as it is");
}

// Says why a file could not be written, in the form every caller reports.
bool Written(const char* name, const std::string& text, std::string* error) {
    std::string why;
    if (platform::WriteFileAtomically(name, text, &why, 0600)) return true;
    if (error) *error = std::string(name) + " not written: " + why;
    return false;
}

int Clamped(int ms) { return std::clamp(ms, -kMaxOffsetMs, kMaxOffsetMs); }

}  // namespace

Timing& GetTiming() {
    static Timing timing;
    return timing;
}

void LoadTiming() {
    Timing& timing = GetTiming();
    timing.choices = TimingChoices{};
    timing.songOffsets.clear();
    LoadFile(kTimingFile, [&](const std::string& bytes, std::string* error) {
        return ParseTimingText(bytes, &timing.choices, error);
    });
    LoadFile(kSongOffsetsFile, [&](const std::string& bytes, std::string* error) {
        return ParseSongOffsetsText(bytes, &timing.songOffsets, error);
    });
}

int GlobalOffsetMs() {
    const Timing& timing = GetTiming();
    return timing.runOffsetMs ? *timing.runOffsetMs : timing.choices.globalOffsetMs;
}

int SongOffsetMs(const std::wstring& title) {
    const SongOffsetTable& table = GetTiming().songOffsets;
    auto it = table.find(title);
    return it == table.end() ? 0 : it->second;
}

double AddedLatencyMs() {
    const Timing& timing = GetTiming();
    return timing.choices.deviceLatency ? timing.deviceLatencyMs : 0.0;
}

double SongStartMs(const std::wstring& title) {
    return GlobalOffsetMs() + SongOffsetMs(title) + AddedLatencyMs();
}

bool SetGlobalOffset(int ms, std::string* error) {
    Timing& timing = GetTiming();
    timing.choices.globalOffsetMs = Clamped(ms);
    timing.runOffsetMs.reset();
    return Written(kTimingFile, TimingText(timing.choices), error);
}

bool SetSongOffset(const std::wstring& title, int ms, std::string* error) {
    SongOffsetTable& table = GetTiming().songOffsets;
    if (Clamped(ms) == 0)
        table.erase(title);
    else
        table[title] = Clamped(ms);
    return Written(kSongOffsetsFile, SongOffsetsText(table), error);
}

bool SetErrorBar(bool on, std::string* error) {
    Timing& timing = GetTiming();
    timing.choices.errorBar = on;
    return Written(kTimingFile, TimingText(timing.choices), error);
}

bool SetDeviceLatency(bool added, std::string* error) {
    Timing& timing = GetTiming();
    timing.choices.deviceLatency = added;
    return Written(kTimingFile, TimingText(timing.choices), error);
}

std::wstring OffsetText(int ms) { return (ms > 0 ? L"+" : L"") + std::to_wstring(ms) + L" ms"; }

std::wstring SignedMsText(double ms) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%+.1f ms", ms);
    return text;
}
