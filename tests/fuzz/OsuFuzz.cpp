// Fuzz target: the .osu reader on arbitrary bytes, then the conversion of what it read.
// Depends on: import/OsuReader.h, ImportCheck.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ImportCheck.h"
#include "import/OsuReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    importer::SourceSong song;
    std::string error;
    if (importer::ReadOsu(std::string(reinterpret_cast<const char*>(data), size), song, error)) {
        if (song.charts.size() != 1) __builtin_trap();
        CheckImportedSong(song);
    }
    return 0;
}
