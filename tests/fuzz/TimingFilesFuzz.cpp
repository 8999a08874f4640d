// Fuzz target: the readers of the timing files ("Timing.cfg", "SongOffsets.txt") on arbitrary
// text; what they accept must survive a write and a second read unchanged.
// Depends on: settings/TimingFiles.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/TimingFiles.h"

// Both readers on the same bytes; an accepted file is written and read back to the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    TimingChoices choices;
    if (ParseTimingText(text, &choices, &error)) {
        const std::string written = TimingText(choices);
        TimingChoices again;
        if (!ParseTimingText(written, &again, &error) || TimingText(again) != written)
            __builtin_trap();
    }
    SongOffsetTable table;
    if (ParseSongOffsetsText(text, &table, &error)) {
        const std::string written = SongOffsetsText(table);
        SongOffsetTable again;
        if (!ParseSongOffsetsText(written, &again, &error) || SongOffsetsText(again) != written)
            __builtin_trap();
    }
    return 0;
}
