// Cover pictures: PNG and JPEG scaled and cropped to a square, whatever their file names say;
// other files and oversized pictures refused.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "platform/CoverImage.h"
#include "platform/ImageCodec.h"

namespace fs = std::filesystem;

namespace {

// A width x height picture, red on the left half and blue on the right.
platform::Image Halves(int width, int height) {
    platform::Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = x < width / 2 ? 220 : 0;
            p[2] = x < width / 2 ? 0 : 220;
            p[3] = 255;
        }
    return image;
}

// The red and blue of a pixel.
std::pair<int, int> RedBlue(const platform::Image& image, int x, int y) {
    const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
    return {p[0], p[2]};
}

fs::path Temp(const std::string& name) {
    return fs::temp_directory_path() / ("lyrandel-cover-" + std::to_string(::getpid()) + name);
}

}  // namespace

TEST(CoverImage, WidePngIsScaledAndCroppedAroundItsCentre) {
    const fs::path png = Temp("wide.jpg");  // a PNG under a JPEG's name
    std::string error;
    ASSERT_TRUE(platform::WriteOpaquePng(png.string(), Halves(600, 300), &error)) << error;
    platform::Image cover;
    ASSERT_TRUE(platform::LoadCoverImage(png.string(), 256, &cover, &error)) << error;
    fs::remove(png);
    EXPECT_EQ(cover.width, 256);
    EXPECT_EQ(cover.height, 256);
    // 512x256 after scaling; the middle 256 columns are half red, half blue.
    EXPECT_EQ(RedBlue(cover, 5, 128).second, 0);
    EXPECT_GT(RedBlue(cover, 5, 128).first, 200);
    EXPECT_GT(RedBlue(cover, 250, 128).second, 200);
    EXPECT_EQ(cover.rgba[3], 255);
}

TEST(CoverImage, SmallJpegIsScaledUp) {
    const fs::path jpeg = Temp("small.png");
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 40, 100);
    gdk_pixbuf_fill(pixbuf, 0x20C040FF);
    ASSERT_TRUE(gdk_pixbuf_save(pixbuf, jpeg.c_str(), "jpeg", nullptr, NULL));
    g_object_unref(pixbuf);
    platform::Image cover;
    std::string error;
    ASSERT_TRUE(platform::LoadCoverImage(jpeg.string(), 256, &cover, &error)) << error;
    fs::remove(jpeg);
    EXPECT_EQ(cover.width, 256);
    EXPECT_NEAR(cover.rgba[(128 * 256 + 128) * 4 + 1], 0xC0, 8);
}

TEST(CoverImage, OtherFilesAndHugePicturesAreRefused) {
    const fs::path file = Temp("other.png");
    platform::Image cover;
    std::string error;
    std::ofstream(file) << "GIF89a not a picture we read";
    EXPECT_FALSE(platform::LoadCoverImage(file.string(), 256, &cover, &error));
    EXPECT_EQ(error, "not a PNG or JPEG picture");
    // A PNG header claiming 30000 x 30000 pixels, with nothing after it.
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0",
                    33 - 4);
    uint32_t crc = 0xFFFFFFFFu;  // over the chunk type and data
    for (size_t i = 12; i < png.size(); ++i) {
        crc ^= static_cast<uint8_t>(png[i]);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>((crc >> shift) & 0xFF);
    std::ofstream(file, std::ios::binary) << png;
    EXPECT_FALSE(platform::LoadCoverImage(file.string(), 256, &cover, &error));
    EXPECT_EQ(error,
              "the picture is 30000x30000 pixels; a picture may be at most 4096 on each side");
    EXPECT_FALSE(platform::LoadCoverImage(Temp("none.png").string(), 256, &cover, &error));
    fs::remove(file);
}

// Long thin pictures: one side beyond the jackets' limit is refused by the header; at the limit
// the centre square is scaled up, never the whole picture.
TEST(CoverImage, LongThinPicturesAreBoundedOnBothSides) {
    const fs::path file = Temp("thin.png");
    platform::Image cover;
    std::string error;
    for (const auto& [w, h, fits] : {std::tuple{1, 16000, false}, std::tuple{16000, 1, false},
                                     std::tuple{1, 4096, true}, std::tuple{4096, 2, true}}) {
        GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h);
        gdk_pixbuf_fill(pixbuf, 0x3060C0FF);
        ASSERT_TRUE(gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, NULL));
        g_object_unref(pixbuf);
        EXPECT_EQ(platform::LoadCoverImage(file.string(), 256, &cover, &error), fits)
            << w << "x" << h;
        if (!fits) {
            EXPECT_NE(error.find("at most 4096 on each side"), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(cover.width, 256);
        EXPECT_EQ(cover.rgba.size(), 256u * 256 * 4);
        EXPECT_NEAR(cover.rgba[(200 * 256 + 3) * 4 + 2], 0xC0, 2);
    }
    fs::remove(file);
}
