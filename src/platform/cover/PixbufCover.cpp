// CoverImage on gdk-pixbuf: the loader of the one format the file's signature names (never the
// loader that guesses), fed in pieces so that an oversized picture is refused as soon as its
// header is read, scaled while decoding where the format allows, then scaled and cropped.
// Depends on: platform/CoverImage.h, platform/files/FileSystem.h, gdk-pixbuf.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>

#include "platform/CoverImage.h"
#include "platform/files/FileSystem.h"

namespace platform {

namespace {

// Files above this size are no cover picture.
constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

// The gdk-pixbuf loader for the file's signature, or nullptr for a kind we do not read.
const char* LoaderType(const std::string& bytes) {
    static constexpr unsigned char kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::equal(kPng, kPng + 8, bytes.begin(), [](unsigned char a, char b) {
            return a == (unsigned char)b;
        }))
        return "png";
    if (bytes.size() >= 3 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xD8 &&
        (unsigned char)bytes[2] == 0xFF)
        return "jpeg";
    return nullptr;
}

// A big-endian number of n bytes at position at.
long long BigEndian(const std::string& bytes, size_t at, int n) {
    long long value = 0;
    for (int i = 0; i < n; ++i) value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The picture's size as the file's header gives it (PNG: its first chunk; JPEG: its frame
// header); false when the header cannot be found (the decoder then decides). Read before
// decoding, since a decoder allocates the whole picture before it lets us refuse it.
bool HeaderSize(const std::string& bytes, const char* type, long long* width, long long* height) {
    if (std::string(type) == "png") {
        if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) return false;
        *width = BigEndian(bytes, 16, 4);
        *height = BigEndian(bytes, 20, 4);
        return true;
    }
    size_t at = 2;
    while (at + 4 <= bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
        const unsigned char marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without length
            at += 2;
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size()) return false;
            *height = BigEndian(bytes, at + 5, 2);
            *width = BigEndian(bytes, at + 7, 2);
            return true;
        }
        at += 2 + static_cast<size_t>(BigEndian(bytes, at + 2, 2));
    }
    return false;
}

// True when a picture of that size may be read: neither side beyond the jackets' limit.
bool SizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxCoverSourceSide && height <= kMaxCoverSourceSide;
}

// Why a picture of that size is refused.
std::string TooLarge(long long width, long long height) {
    return "the picture is " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels; a picture may be at most " + std::to_string(kMaxCoverSourceSide) +
           " on each side";
}

// What the size callback learnt of the picture.
struct Prepared {
    int size = 0;
    bool tooLarge = false;
    int width = 0, height = 0;
};

// Refuses oversized pictures and asks the decoder for the smallest size that still fills the
// square, so that large JPEG pictures decode at a fraction of their pixels.
void OnSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data) {
    auto* prepared = static_cast<Prepared*>(data);
    prepared->width = width;
    prepared->height = height;
    if (!SizeAllowed(width, height)) {
        prepared->tooLarge = true;
        return;
    }
    // Both sides are at most the limit, so the scaled sides stay small and within an int.
    const double scale = static_cast<double>(prepared->size) / std::min(width, height);
    if (scale < 1.0)
        gdk_pixbuf_loader_set_size(loader, std::max(prepared->size, (int)std::ceil(width * scale)),
                                   std::max(prepared->size, (int)std::ceil(height * scale)));
}

// Decodes bytes with the named loader; nullptr with error on failure. The caller owns the
// result.
GdkPixbuf* Decode(const std::string& bytes, const char* type, int size, std::string* error) {
    GError* failure = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(type, &failure);
    if (loader == nullptr) {
        *error = std::string("no ") + type + " decoder: " + (failure ? failure->message : "?");
        if (failure) g_error_free(failure);
        return nullptr;
    }
    Prepared prepared{size};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(OnSizePrepared), &prepared);
    constexpr size_t kPiece = 64 * 1024;
    bool ok = true;
    for (size_t at = 0; ok && at < bytes.size() && !prepared.tooLarge; at += kPiece) {
        const size_t n = std::min(kPiece, bytes.size() - at);
        ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data() + at), n,
                                     &failure);
    }
    const bool closed = gdk_pixbuf_loader_close(loader, ok ? &failure : nullptr);
    GdkPixbuf* pixbuf = nullptr;
    if (prepared.tooLarge)
        *error = TooLarge(prepared.width, prepared.height);
    else if (!ok || !closed)
        *error = failure ? failure->message : "damaged picture";
    else if (GdkPixbuf* decoded = gdk_pixbuf_loader_get_pixbuf(loader))
        pixbuf = gdk_pixbuf_apply_embedded_orientation(decoded);
    else
        *error = "damaged picture";
    if (failure) g_error_free(failure);
    g_object_unref(loader);
    return pixbuf;
}

// The centre square of the picture scaled to size x size, laid over black; false when the
// scaling fails (out of memory). The square is cut before scaling, so a long thin picture
// never becomes a huge one on the way.
bool SquareOf(GdkPixbuf* pixbuf, int size, Image* out) {
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
    const int side = std::min(w, h);
    GdkPixbuf* centre =
        gdk_pixbuf_new_subpixbuf(pixbuf, (w - side) / 2, (h - side) / 2, side, side);
    if (centre == nullptr) return false;
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(centre, size, size, GDK_INTERP_BILINEAR);
    g_object_unref(centre);
    if (scaled == nullptr) return false;
    const int channels = gdk_pixbuf_get_n_channels(scaled);
    const int stride = gdk_pixbuf_get_rowstride(scaled);
    const bool alpha = gdk_pixbuf_get_has_alpha(scaled);
    const guchar* pixels = gdk_pixbuf_read_pixels(scaled);
    out->width = out->height = size;
    out->rgba.assign(static_cast<size_t>(size) * size * 4, 255);
    for (int y = 0; y < size; ++y) {
        const guchar* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < size; ++x) {
            const guchar* p = row + static_cast<size_t>(x) * channels;
            const int a = alpha ? p[3] : 255;
            uint8_t* q = &out->rgba[(static_cast<size_t>(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c) q[c] = static_cast<uint8_t>(p[c] * a / 255);
        }
    }
    g_object_unref(scaled);
    return true;
}

}  // namespace

bool LoadCoverImage(const std::string& path, int size, Image* out, std::string* error) {
    std::string bytes, reason;
    const ReadResult read = ReadWholeFile(path, &bytes, &reason);
    if (read != ReadResult::kOk) {
        if (error) *error = read == ReadResult::kMissing ? "missing file" : reason;
        return false;
    }
    if (bytes.size() > kMaxFileBytes) {
        if (error) *error = "the picture file is too large";
        return false;
    }
    const char* type = LoaderType(bytes);
    if (type == nullptr) {
        if (error) *error = "not a PNG or JPEG picture";
        return false;
    }
    long long width = 0, height = 0;
    if (HeaderSize(bytes, type, &width, &height) && !SizeAllowed(width, height)) {
        if (error) *error = TooLarge(width, height);
        return false;
    }
    GdkPixbuf* pixbuf = Decode(bytes, type, size, &reason);
    if (pixbuf == nullptr) {
        if (error) *error = reason;
        return false;
    }
    const bool squared = SquareOf(pixbuf, size, out);
    g_object_unref(pixbuf);
    if (!squared && error) *error = "the picture cannot be scaled (out of memory)";
    return squared;
}

}  // namespace platform
