// Fuzz target: the .sm/.ssc reader on arbitrary bytes (every encoding, tag and note syntax,
// every timing), then the conversion of what it read.
// Depends on: import/SimfileReader.h, ImportCheck.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ImportCheck.h"
#include "import/SimfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    importer::SourceSong song;
    std::string error;
    if (importer::ReadSimfile(std::string(reinterpret_cast<const char*>(data), size), song, error))
        CheckImportedSong(song);
    return 0;
}
