// Checksum: the SHA-256 digest of bytes, as the replays name the chart they were played on.
// Depends on: GLib (already loaded for the text layout).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The SHA-256 digest of bytes in 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace platform
