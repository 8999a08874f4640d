// PNG decoding through libpng's full interface (the stored samples, whatever the file's
// colour chunks say) and writing through its simplified one.
// Depends on: platform/ImageCodec.h, libpng.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/ImageCodec.h"

namespace platform {

namespace {

// A failure message naming the file and libpng's reason.
std::string Reason(const char* what, const std::string& path, const png_image& image) {
    return std::string(what) + " " + path + ": " + image.message;
}

// libpng's error handler: keeps the message and jumps back to the reader's set-up point.
void OnError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

// Warnings (an odd chunk, say) do not stop the decoding and are not reported.
void OnWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit RGBA of the stored samples: palettes, tRNS and small grey depths
// expanded, grey made RGB, 16-bit samples scaled with rounding, opaque alpha added where the
// file has none. No gamma or colour-space conversion is asked for, so a 16-bit file without
// colour chunks and an 8-bit file whose gAMA says otherwise both keep their samples.
void AskForStoredRgba(png_structp png) {
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
}

// Decodes the open file into out; false with libpng's reason in message. Everything with a
// destructor is made before the set-up point, so libpng's long jump skips no destructor.
bool ReadPng(FILE* file, Image* out, std::string* message) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, message, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        *message = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    AskForStoredRgba(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row layout");
    bool fits = true;
    try {
        pixels.resize(size_t(width) * height * 4);
        rows.resize(height);
    } catch (const std::bad_alloc&) {
        fits = false;
    }
    if (!fits) png_error(png, "image too large");
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = &pixels[size_t(y) * width * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    out->width = int(width);
    out->height = int(height);
    out->rgba = std::move(pixels);
    return true;
}

}  // namespace

bool DecodePng(const std::string& path, Image* out, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string message;
    const bool ok = ReadPng(file, out, &message);
    std::fclose(file);
    if (!ok && error) *error = "cannot decode " + path + ": " + message;
    return ok;
}

bool WriteOpaquePng(const std::string& path, const Image& source, std::string* error) {
    if (source.width <= 0 || source.height <= 0 ||
        source.rgba.size() != size_t(source.width) * source.height * 4) {
        if (error) *error = "cannot write " + path + ": empty or malformed image";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(source.width);
    image.height = static_cast<png_uint_32>(source.height);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(size_t(source.width) * source.height * 3);
    for (size_t i = 0, j = 0; i < rgb.size(); i += 3, j += 4) {
        rgb[i] = source.rgba[j];
        rgb[i + 1] = source.rgba[j + 1];
        rgb[i + 2] = source.rgba[j + 2];
    }
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        if (error) *error = Reason("cannot write", path, image);
        return false;
    }
    return true;
}

}  // namespace platform
