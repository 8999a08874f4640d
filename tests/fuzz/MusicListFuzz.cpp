// Fuzz target: the music list on arbitrary bytes, through the code page 932 decoding the game
// does and also straight into the entry reader (so entries are reached even when the bytes are
// not valid code page 932).
// Depends on: selection/MusicList.h, platform/Codepage.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Codepage.h"
#include "selection/MusicList.h"

namespace {

// Reads decoded text into entries, with every jacket loading.
void ReadEntries(std::wstring_view text) {
    std::vector<MusicEntry> entries;
    MusicListError error;
    ParseMusicList(
        text, [](const std::wstring&) { return true; }, entries, error);
}

}  // namespace

// One list read both ways; a decodable list must encode back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto decoded = platform::Cp932ToWide(bytes)) {
        ReadEntries(*decoded);
        platform::WideToCp932(*decoded);
    }
    ReadEntries(std::wstring(bytes.begin(), bytes.end()));
    return 0;
}
