// PngHeader: signature, then the image header chunk: length 13, type "IHDR", width and height
// 1 to 2^31 - 1, a bit depth allowed for the colour type, compression 0, filter 0, interlace 0
// or 1, and the chunk's CRC-32 over its type and data.
// Depends on: platform/PngHeader.h, POSIX file calls, zlib.
#include "platform/PngHeader.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, chunk length and type, 13 bytes of header data and the chunk's CRC.
constexpr size_t kHeaderBytes = 8 + 8 + 13 + 4;

// The big-endian 32-bit number at p.
uint32_t BigEndian(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// True when the bit depth is one the colour type allows.
bool DepthAllowed(uint8_t colourType, uint8_t depth) {
    switch (colourType) {
        case 0:  // grey
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:  // palette
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:  // RGB
        case 4:  // grey and alpha
        case 6:  // RGBA
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

// Fills error and returns false.
bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool ParsePngHeader(const unsigned char* b, size_t size, PngHeader* out, std::string* error) {
    if (size < sizeof kSignature || std::memcmp(b, kSignature, sizeof kSignature) != 0)
        return Fail(error, "not a PNG file (it does not start with the PNG signature)");
    if (size < kHeaderBytes) return Fail(error, "the PNG image header is cut short");
    const unsigned char* chunk = b + 8;
    if (BigEndian(chunk) != 13 || std::memcmp(chunk + 4, "IHDR", 4) != 0)
        return Fail(error, "the PNG file does not begin with its image header");
    const unsigned char* data = chunk + 8;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), chunk + 4, 4 + 13);
    if (crc != BigEndian(data + 13)) return Fail(error, "the PNG image header is damaged");
    PngHeader h;
    h.width = BigEndian(data);
    h.height = BigEndian(data + 4);
    h.bitDepth = data[8];
    h.colourType = data[9];
    if (h.width == 0 || h.height == 0 || h.width > 0x7FFFFFFFu || h.height > 0x7FFFFFFFu)
        return Fail(error, "the PNG image header gives an impossible size");
    if (!DepthAllowed(h.colourType, h.bitDepth) || data[10] != 0 || data[11] != 0 || data[12] > 1)
        return Fail(error, "the PNG image header is invalid");
    *out = h;
    return true;
}

bool ReadPngHeader(const std::string& path, PngHeader* out, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(error, std::string("cannot be opened: ") + std::strerror(errno));
    unsigned char bytes[kHeaderBytes];
    size_t got = 0;
    while (got < kHeaderBytes) {
        const ssize_t n = ::read(fd, bytes + got, kHeaderBytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int why = errno;
            ::close(fd);
            return Fail(error, std::string("cannot be read: ") + std::strerror(why));
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    return ParsePngHeader(bytes, got, out, error);
}

}  // namespace platform
