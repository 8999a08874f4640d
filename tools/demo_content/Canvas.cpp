// Canvas compositing: source over destination in premultiplied float, one pass per shape.
// Depends on: Canvas.h.
#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace democontent {

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

// The colour with its alpha multiplied by factor.
Rgba Fade(const Rgba& c, float factor) { return {c.r, c.g, c.b, c.a * factor}; }

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      premultiplied_(static_cast<size_t>(width) * height * 4, 0.f) {}

// Paints every pixel of the canvas.
void Canvas::Paint(const std::function<Rgba(float, float)>& painter) {
    PaintRect(0, 0, width_, height_, painter);
}

// Paints the pixels of one rectangle, clipped to the canvas.
void Canvas::PaintRect(int x0, int y0, int x1, int y1,
                       const std::function<Rgba(float, float)>& painter) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            Rgba c = painter(x + 0.5f, y + 0.5f);
            if (c.a > 0.f) Over((static_cast<size_t>(y) * width_ + x) * 4, c);
        }
    }
}

// Composites one straight colour over the pixel at index.
void Canvas::Over(size_t index, const Rgba& c) {
    float a = std::clamp(c.a, 0.f, 1.f);
    float keep = 1.f - a;
    float* p = &premultiplied_[index];
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

// Straight-alpha RGBA bytes, row by row from the top.
std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(premultiplied_.size());
    auto byte = [](float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255.f));
    };
    for (size_t i = 0; i < premultiplied_.size(); i += 4) {
        float a = premultiplied_[i + 3];
        float inv = a > 1e-6f ? 1.f / a : 0.f;
        for (int k = 0; k < 3; ++k) out[i + k] = byte(premultiplied_[i + k] * inv);
        out[i + 3] = byte(a);
    }
    return out;
}

}  // namespace democontent
