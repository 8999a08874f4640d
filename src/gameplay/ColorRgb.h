// ColorRgb: a colour as three integer components 0 to 255, as the game hands colours to drawing.
// Depends on: nothing.
#pragma once

#include <cstdint>

struct ColorRgb {
    int32_t red = 255;
    int32_t green = 255;
    int32_t blue = 255;
    bool operator==(const ColorRgb&) const = default;
};

inline constexpr ColorRgb kWhite{255, 255, 255};
