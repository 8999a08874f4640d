// CoverImage: a picture file (PNG or JPEG) made into a square cover: scaled so that its
// shorter side fills the square, the longer side cropped around the centre, transparency laid
// over black.
// Implementation: gdk-pixbuf (platform/cover).
// Depends on: platform/Gpu.h (Image).
#pragma once

#include <string>

#include "platform/Gpu.h"

namespace platform {

// Pictures with a side longer than this are refused before they are decoded: the game's own
// limit for a jacket.
inline constexpr long long kMaxCoverSourceSide = 4096;

// Reads the PNG or JPEG file at path (UTF-8; its first bytes decide which, whatever its name)
// into an opaque size x size RGBA image. False with the reason in error for another kind of
// file, a damaged or oversized picture.
bool LoadCoverImage(const std::string& path, int size, Image* out, std::string* error);

}  // namespace platform
