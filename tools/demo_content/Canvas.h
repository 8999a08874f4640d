// Canvas: an RGBA picture in premultiplied float that shapes are painted onto with coverage,
// so edges come out anti-aliased; converted to straight 8-bit RGBA for the PNG encoder.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace democontent {

// A straight (not premultiplied) colour, components 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Rgba Mix(const Rgba& a, const Rgba& b, float t);
// The colour with its alpha multiplied by factor.
Rgba Fade(const Rgba& c, float factor);

class Canvas {
  public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints over the picture: for each pixel centre (x + 0.5, y + 0.5) the painter gives the
    // colour whose alpha already includes the shape's coverage there.
    void Paint(const std::function<Rgba(float x, float y)>& painter);
    // Paints only the pixels of the rectangle [x0, x1) x [y0, y1), clipped to the canvas.
    void PaintRect(int x0, int y0, int x1, int y1,
                   const std::function<Rgba(float x, float y)>& painter);
    // Straight-alpha RGBA bytes, row by row from the top.
    std::vector<uint8_t> ToRgba8() const;

  private:
    // Composites one straight colour over the pixel at index.
    void Over(size_t index, const Rgba& c);

    int width_;
    int height_;
    std::vector<float> premultiplied_;
};

}  // namespace democontent
