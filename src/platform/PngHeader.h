// PngHeader: the start of a PNG file, read without decoding the image: the signature and the
// image header chunk, checked field by field and against its checksum. Cheap enough to run on
// a thousand files while a screen opens.
// Implementation: platform/image/PngHeader.cpp (POSIX reads, zlib's CRC-32).
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
};

// Reads and checks the first 33 bytes of the file at path (UTF-8). False with the reason in
// error when the file cannot be read, is not a PNG file, or its image header is cut short,
// damaged or invalid.
bool ReadPngHeader(const std::string& path, PngHeader* out, std::string* error);
// The same checks on bytes already read (at least the first 33 of the file).
bool ParsePngHeader(const unsigned char* bytes, size_t size, PngHeader* out, std::string* error);

}  // namespace platform
