// PNG encoding of straight-alpha RGBA pictures for the texture folder.
// Depends on: libpng (in the .cpp only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace democontent {

// Encodes width x height RGBA bytes as a PNG file image (no time stamp, so repeatable).
// Throws std::runtime_error when the encoder fails.
std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba);

}  // namespace democontent
