// Fuzz target: the configuration reader on arbitrary text; what it accepts must survive a
// write and a second read unchanged.
// Depends on: settings/Config.h.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/Config.h"

// One read; an accepted file is written and read back to the same six values.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Config config;
    std::string error;
    if (!ParseConfigText(text, &config, &error)) return 0;
    const std::string written = FormatConfigText(config);
    Config again;
    if (!ParseConfigText(written, &again, &error)) __builtin_trap();
    if (FormatConfigText(again) != written) __builtin_trap();
    return 0;
}
