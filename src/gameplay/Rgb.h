// Rgb: a colour as three integer components 0 to 255, as the game hands colours to drawing.
// Depends on: nothing.
#pragma once

#include <cstdint>

struct Rgb {
    int32_t red = 255;
    int32_t green = 255;
    int32_t blue = 255;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
