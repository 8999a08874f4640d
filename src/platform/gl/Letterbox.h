// Letterbox: where a fixed-size picture goes in a window of another size: scaled by the largest
// factor that fits both sides, aspect kept, centred, the rest left as bars.
// Depends on: nothing.
#pragma once

namespace platform::gl {

// A rectangle of whole pixels, origin top-left.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The picture's place in the target; empty when either size is not positive.
PixelRect Letterbox(int pictureWidth, int pictureHeight, int targetWidth, int targetHeight);

}  // namespace platform::gl
