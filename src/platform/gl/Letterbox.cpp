// Letterbox: the largest centred fit of a picture in a target.
#include "platform/gl/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace platform::gl {

PixelRect Letterbox(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return {};
    const double scale =
        std::min(double(targetWidth) / pictureWidth, double(targetHeight) / pictureHeight);
    // The side that limits the scale fills the target exactly; the other is rounded.
    const int width = std::min(targetWidth, int(std::lround(pictureWidth * scale)));
    const int height = std::min(targetHeight, int(std::lround(pictureHeight * scale)));
    return {(targetWidth - width) / 2, (targetHeight - height) / 2, width, height};
}

}  // namespace platform::gl
