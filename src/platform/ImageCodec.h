// ImageCodec: PNG files to and from 8-bit RGBA images (textures in, screenshots out).
// Implementation: libpng (platform/image).
// Depends on: platform/Gpu.h (Image).
#pragma once

#include <string>

#include "platform/Gpu.h"

namespace platform {

// Decodes any PNG at path (UTF-8) into straight-alpha RGBA; false with error on failure.
bool DecodePng(const std::string& path, Image* out, std::string* error);
// Writes image as an opaque 8-bit RGB PNG (alpha dropped); false with error on failure.
bool WriteOpaquePng(const std::string& path, const Image& image, std::string* error);

}  // namespace platform
