// Fuzz target: the save-file reader on arbitrary bytes, through the code page 932 decoding the
// game does; what it accepts and can write must read back as the same account.
// Depends on: settings/SaveFile.h, platform/Codepage.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Codepage.h"
#include "settings/SaveFile.h"

namespace {

// True when both hold the same password and records in the same order.
bool Same(const SaveFileContent& a, const SaveFileContent& b) {
    if (a.password != b.password || a.records.size() != b.records.size()) return false;
    for (size_t i = 0; i < a.records.size(); ++i) {
        const ScoreRecord& x = a.records[i];
        const ScoreRecord& y = b.records[i];
        if (x.music != y.music || x.best[0] != y.best[0] || x.best[1] != y.best[1] ||
            x.best[2] != y.best[2])
            return false;
    }
    return true;
}

}  // namespace

// One read; an accepted file that can be written reads back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto text = platform::Cp932ToWide(bytes);
    if (!text) return 0;
    SaveFileContent content;
    std::string error;
    if (!ParseSaveText(*text, &content, &error)) return 0;
    std::string written;
    if (!FormatSaveBytes(content, &written, &error)) return 0;
    const auto again = platform::Cp932ToWide(written);
    SaveFileContent reread;
    if (!again || !ParseSaveText(*again, &reread, &error) || !Same(content, reread))
        __builtin_trap();
    return 0;
}
