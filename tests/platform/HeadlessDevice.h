// A real GL device for pixel tests: the game's window on SDL's offscreen driver, the device,
// its back buffer and the sprite renderer; torn down in the shutdown order. Golden frames are
// compared with small tolerance, or written when LYRANDEL_UPDATE_GOLDEN is set.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Gpu.h"
#include "platform/ImageCodec.h"
#include "platform/sdl/SdlWindow.h"
#include "services/GraphicsDevice.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace gltest {

// The GL and font stacks keep allocations of their own until exit, some in libraries they
// unload again, where no suppression can name them; leak checking looks away during the
// pixel tests, and the game's own objects are leak-checked by the tests on the null device.
inline void IgnoreDriverAllocations(bool ignore) {
#if defined(__SANITIZE_ADDRESS__)
    if (ignore)
        __lsan_disable();
    else
        __lsan_enable();
#else
    (void)ignore;
#endif
}

struct HeadlessDevice : ::testing::Test {
    platform::SdlWindow window;
    GraphicsDevice& device = GraphicsDevice::Get();

    void SetUp() override {
        std::string error;
        IgnoreDriverAllocations(true);
        ASSERT_TRUE(window.Create(true, error)) << error;
        device.window = window.handle();
        ASSERT_TRUE(device.CreateDevice()) << device.lastError;
        ASSERT_TRUE(device.CreateDeviceResources()) << device.lastError;
        ASSERT_TRUE(CreateSpriteRenderer(&error)) << error;
        device.Clear();
    }
    void TearDown() override {
        DestroySpriteRenderer();
        TextureStore::Get().Clear();
        device.DestroyDevice();
        device.window = nullptr;
        IgnoreDriverAllocations(false);
    }
    // The back buffer as drawn so far.
    platform::Image Frame() {
        platform::Image image;
        std::string error;
        EXPECT_TRUE(device.gpu->ReadBackBuffer(&image, &error)) << error;
        return image;
    }
    // One pixel as 0xRRGGBB.
    static uint32_t Pixel(const platform::Image& image, int x, int y) {
        const uint8_t* p = &image.rgba[(size_t(y) * image.width + x) * 4];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
};

// Compares frame with tests/data/golden/name: at most 0.1% of pixels may differ by more than
// 3 in a channel.
inline void ExpectGolden(const platform::Image& frame, const std::string& name) {
    const std::string path = std::string(LYRANDEL_TEST_DIR) + "/data/golden/" + name;
    std::string error;
    if (std::getenv("LYRANDEL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(platform::WriteOpaquePng(path, frame, &error)) << error;
        return;
    }
    platform::Image golden;
    ASSERT_TRUE(platform::DecodePng(path, &golden, &error)) << error;
    ASSERT_EQ(golden.width, frame.width);
    ASSERT_EQ(golden.height, frame.height);
    size_t differing = 0;
    for (size_t i = 0; i < frame.rgba.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            if (std::abs(int(frame.rgba[i + c]) - int(golden.rgba[i + c])) > 3) {
                ++differing;
                break;
            }
    EXPECT_LE(differing, frame.rgba.size() / 4 / 1000) << name << ": " << differing << " pixels";
}

// Compares a screenshot file the program wrote with tests/data/golden/name, as ExpectGolden.
inline void ExpectGoldenFile(const std::string& file, const std::string& name) {
    platform::Image frame;
    std::string error;
    ASSERT_TRUE(platform::DecodePng(file, &frame, &error)) << error;
    ExpectGolden(frame, name);
}

}  // namespace gltest
