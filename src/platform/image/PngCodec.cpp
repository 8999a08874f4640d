// PNG decoding and writing through libpng's simplified interface.
// Depends on: platform/ImageCodec.h, libpng.
#include <png.h>

#include <cstring>

#include "platform/ImageCodec.h"

namespace platform {

namespace {

// A failure message naming the file and libpng's reason.
std::string Reason(const char* what, const std::string& path, const png_image& image) {
    return std::string(what) + " " + path + ": " + image.message;
}

}  // namespace

bool DecodePng(const std::string& path, Image* out, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        if (error) *error = Reason("cannot read", path, image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        if (error) *error = Reason("cannot decode", path, image);
        png_image_free(&image);
        return false;
    }
    out->width = static_cast<int>(image.width);
    out->height = static_cast<int>(image.height);
    out->rgba = std::move(pixels);
    return true;
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
