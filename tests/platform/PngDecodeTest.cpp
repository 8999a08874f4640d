// PNG textures decode to the samples the file stores, whatever their depth and colour chunks:
// 8-bit RGBA (even with a gAMA chunk), 16-bit RGBA and grey, and a palette with tRNS.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ImageCodec.h"

namespace fs = std::filesystem;

namespace {

// What to write: one row of pixels in the file's own layout, and the chunks that go with it.
struct PngSpec {
    int width = 0;
    int depth = 8;
    int colorType = PNG_COLOR_TYPE_RGBA;
    std::vector<uint8_t> row;
    std::vector<png_color> palette;
    std::vector<uint8_t> alphas;  // tRNS of a palette
    double gamma = 0;             // a gAMA chunk when not 0
};

// A spec of one row without palette or gAMA.
PngSpec Spec(int width, int depth, int colorType, std::vector<uint8_t> row) {
    PngSpec spec;
    spec.width = width;
    spec.depth = depth;
    spec.colorType = colorType;
    spec.row = std::move(row);
    return spec;
}

// Writes spec as a one-row PNG with libpng; false when libpng refused.
bool WritePng(const fs::path& path, const PngSpec& spec) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(spec.width), 1, spec.depth, spec.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), int(spec.palette.size()));
    if (!spec.alphas.empty())
        png_set_tRNS(png, info, spec.alphas.data(), int(spec.alphas.size()), nullptr);
    if (spec.gamma != 0) png_set_gAMA(png, info, spec.gamma);
    png_write_info(png, info);
    png_write_row(png, spec.row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

// Each 8-bit sample as the big-endian 16-bit sample of the same value.
std::vector<uint8_t> Widened(const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> wide;
    for (uint8_t s : samples) wide.insert(wide.end(), {s, s});
    return wide;
}

struct PngDecode : ::testing::Test {
    fs::path file =
        fs::temp_directory_path() / ("lyrandel-png-" + std::to_string(getpid()) + ".png");
    void TearDown() override { fs::remove(file); }

    // Writes spec and decodes it back.
    std::vector<uint8_t> RoundTrip(const PngSpec& spec) {
        EXPECT_TRUE(WritePng(file, spec));
        platform::Image image;
        std::string error;
        EXPECT_TRUE(platform::DecodePng(file.string(), &image, &error)) << error;
        EXPECT_EQ(image.width, spec.width);
        return image.rgba;
    }
};

// The decoded samples agree within 1.
void ExpectAlike(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1) << "sample " << i;
}

}  // namespace

TEST_F(PngDecode, EveryLayoutGivesTheStoredSamples) {
    const std::vector<uint8_t> rgba = {0x80, 0x80, 0x80, 255, 255, 0,   0,  128,
                                       0,    64,   255,  0,   10,  200, 30, 255};
    PngSpec eight = Spec(4, 8, PNG_COLOR_TYPE_RGBA, rgba);
    eight.gamma = 1.0;  // says the samples are linear
    ExpectAlike(RoundTrip(eight), rgba);
    PngSpec sixteen = Spec(4, 16, PNG_COLOR_TYPE_RGBA, Widened(rgba));  // no colour chunk
    ExpectAlike(RoundTrip(sixteen), rgba);
    PngSpec palette = Spec(4, 8, PNG_COLOR_TYPE_PALETTE, {3, 2, 1, 0});
    for (int i = 3; i >= 0; --i) {
        palette.palette.push_back(
            {rgba[size_t(i) * 4], rgba[size_t(i) * 4 + 1], rgba[size_t(i) * 4 + 2]});
        palette.alphas.push_back(rgba[size_t(i) * 4 + 3]);
    }
    ExpectAlike(RoundTrip(palette), rgba);

    const std::vector<uint8_t> greys = {0, 0x40, 0x80, 0xFF};
    PngSpec grey = Spec(4, 16, PNG_COLOR_TYPE_GRAY, Widened(greys));
    std::vector<uint8_t> opaque;
    for (uint8_t g : greys) opaque.insert(opaque.end(), {g, g, g, 255});
    ExpectAlike(RoundTrip(grey), opaque);
}

TEST_F(PngDecode, DamagedFilesAreRefusedWithTheirName) {
    PngSpec eight = Spec(1, 8, PNG_COLOR_TYPE_RGBA, {1, 2, 3, 4});
    ASSERT_TRUE(WritePng(file, eight));
    fs::resize_file(file, fs::file_size(file) - 20);  // cut inside the image data
    platform::Image image;
    std::string error;
    EXPECT_FALSE(platform::DecodePng(file.string(), &image, &error));
    EXPECT_NE(error.find("cannot decode " + file.string()), std::string::npos) << error;
    EXPECT_FALSE(platform::DecodePng("/no/such.png", &image, &error));
    EXPECT_NE(error.find("cannot read /no/such.png"), std::string::npos) << error;
}
