// IconArt: the shapes in units of a 32-pixel grid, sampled 4 x 4 times per pixel.
#include "platform/IconArt.h"

#include <cmath>

namespace platform {

namespace {

struct Colour {
    float r, g, b, a;
};

constexpr Colour kDisc = {24, 20, 40, 255};
constexpr Colour kRed = {230, 60, 70, 255};
constexpr Colour kBlue = {70, 120, 235, 255};
constexpr Colour kBar = {235, 235, 235, 255};
constexpr Colour kNone = {0, 0, 0, 0};
constexpr int kSamples = 4;

// True when (x, y) lies inside the circle.
bool InCircle(float x, float y, float cx, float cy, float r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r;
}

// The icon's colour at a point of the 32-unit grid; later shapes lie over earlier ones.
Colour ColourAt(float x, float y) {
    if (!InCircle(x, y, 16.0f, 16.0f, 15.5f)) return kNone;
    if (y >= 23.0f && y < 25.0f && x >= 5.0f && x < 28.0f) return kBar;
    if (InCircle(x, y, 21.5f, 20.5f, 5.0f)) return kBlue;
    if (InCircle(x, y, 10.5f, 12.5f, 5.0f)) return kRed;
    return kDisc;
}

}  // namespace

std::vector<uint8_t> DrawIcon(int size) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    const float unit = 32.0f / static_cast<float>(size * kSamples);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            // Premultiplied sums, so a half-covered edge keeps its colour.
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Colour c = ColourAt((px * kSamples + sx + 0.5f) * unit,
                                              (py * kSamples + sy + 0.5f) * unit);
                    r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
                }
            uint8_t* p = &rgba[(static_cast<size_t>(py) * size + px) * 4];
            p[0] = a > 0 ? static_cast<uint8_t>(std::lround(r / a)) : 0;
            p[1] = a > 0 ? static_cast<uint8_t>(std::lround(g / a)) : 0;
            p[2] = a > 0 ? static_cast<uint8_t>(std::lround(b / a)) : 0;
            p[3] = static_cast<uint8_t>(std::lround(a / (kSamples * kSamples)));
        }
    return rgba;
}

}  // namespace platform
