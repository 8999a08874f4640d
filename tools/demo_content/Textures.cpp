// Texture painting for the game screens.
// Depends on: Textures.h, Shapes.h.
#include "Textures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "Shapes.h"

namespace democontent {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const Rgba kWhite{1, 1, 1, 1};

// The up arrow around the centre (0, 0) of a 32x32 cell.
const std::vector<Point>& UpArrow() {
    static const std::vector<Point> arrow = {{0, -13}, {13, 0}, {5, 0},  {5, 13},
                                             {-5, 13}, {-5, 0}, {-13, 0}};
    return arrow;
}

// Turns a point around the centre so that the up arrow serves every direction.
Point ToUpFrame(Point p, Direction d) {
    switch (d) {
        case kRight:
            return {p.y, -p.x};
        case kDown:
            return {-p.x, -p.y};
        case kLeft:
            return {-p.y, p.x};
        default:
            return p;
    }
}

}  // namespace

// A 32x32 arrow pointing in direction: dark rim, a gradient body along the arrow and a glow.
Canvas PaintArrow(Direction direction, bool red) {
    const Rgba light = red ? Rgba{1.f, 0.55f, 0.55f, 1} : Rgba{0.55f, 0.75f, 1.f, 1};
    const Rgba deep = red ? Rgba{0.85f, 0.08f, 0.15f, 1} : Rgba{0.1f, 0.3f, 0.9f, 1};
    const Rgba rim = red ? Rgba{0.3f, 0.f, 0.05f, 1} : Rgba{0.f, 0.07f, 0.3f, 1};
    Canvas c(32, 32);
    auto distance = [direction](float x, float y, Point* local) {
        *local = ToUpFrame({x - 16.f, y - 16.f}, direction);
        return PolygonDistance(*local, UpArrow());
    };
    c.Paint([&](float x, float y) {
        Point q;
        float d = distance(x, y, &q);
        return Fade(light, 0.45f * Glow(d - 1.5f, 2.5f));
    });
    c.Paint([&](float x, float y) {
        Point q;
        return Fade(rim, Coverage(distance(x, y, &q) - 1.2f));
    });
    c.Paint([&](float x, float y) {
        Point q;
        float d = distance(x, y, &q);
        Rgba body = Mix(light, deep, std::clamp((q.y + 13.f) / 26.f, 0.f, 1.f));
        // A soft shine near the edges makes the body read as raised.
        body = Mix(body, kWhite, 0.35f * Glow(-d - 1.f, 2.f) * (d < 0 ? 1.f : 0.f));
        return Fade(body, Coverage(d + 0.4f));
    });
    return c;
}

// The hit marker: a white ring with a faint disk inside.
Canvas PaintHitMarker() {
    Canvas c(32, 32);
    const Point centre{16, 16};
    c.Paint([&](float x, float y) {
        return Fade(kWhite, 0.22f * Coverage(CircleDistance({x, y}, centre, 11.f)));
    });
    c.Paint([&](float x, float y) {
        float ring = std::fabs(CircleDistance({x, y}, centre, 13.f)) - 1.6f;
        return Fade(kWhite, Coverage(ring));
    });
    c.Paint([&](float x, float y) {
        return Fade(kWhite, 0.9f * Coverage(CircleDistance({x, y}, centre, 2.f)));
    });
    return c;
}

// The track: a faint light wash, lighter lanes under the hit points, bright borders.
Canvas PaintTrack() {
    const int w = 550, h = 720;
    const float lanes[2] = {85.f, 465.f};  // centres of the red and blue lanes in the image
    Canvas c(w, h);
    c.Paint([&](float x, float y) {
        float alpha = 0.14f - 0.05f * (y / h);
        for (float lane : lanes) {
            float inLane = Coverage(std::fabs(x - lane) - 44.f);
            alpha += 0.07f * inLane;
            float guide = std::fabs(std::fabs(x - lane) - 44.f) - 0.75f;
            alpha += 0.45f * Coverage(guide);
        }
        float divider = std::fabs(x - w * 0.5f) - 1.f;
        alpha += 0.35f * Coverage(divider);
        return Fade(kWhite, alpha);
    });
    c.Paint([&](float x, float) {
        float edge = std::min(x, w - x);
        return Fade(kWhite, Coverage(std::fabs(edge - 5.f) - 1.5f) + 0.4f * Glow(edge - 5.f, 6.f));
    });
    return c;
}

// The selection frame: a white rounded border with a glow and a faint inside.
Canvas PaintSelectionFrame() {
    Canvas c(256, 256);
    const Point centre{100, 128};
    auto box = [&](float x, float y) {
        return RoundBoxDistance({x, y}, centre, 94.f, 124.f, 14.f);
    };
    c.PaintRect(0, 0, 200, 256, [&](float x, float y) {
        float d = box(x, y);
        float inside = 0.14f * Coverage(d);
        float glow = 0.35f * Glow(std::fabs(d) - 2.f, 5.f);
        return Fade(kWhite, std::max(inside, glow));
    });
    c.PaintRect(0, 0, 200, 256, [&](float x, float y) {
        return Fade(kWhite, Coverage(std::fabs(box(x, y)) - 1.8f));
    });
    // Small diamonds at the middle of the top and bottom edges.
    for (float cy : {4.f, 252.f}) {
        c.PaintRect(0, 0, 200, 256, [&](float x, float y) {
            float d = (std::fabs(x - 100.f) + std::fabs(y - cy)) * 0.7071f - 4.f;
            return Fade(kWhite, Coverage(d));
        });
    }
    return c;
}

// The effect sheet: each cell shows the cycle at phase n / 15, so cell 14 leads into cell 0.
Canvas PaintEffectSheet() {
    Canvas c(600, 360);
    const Rgba star{1.f, 0.97f, 0.85f, 1}, halo{0.55f, 0.8f, 1.f, 1}, gold{1.f, 0.85f, 0.4f, 1};
    for (int n = 0; n < 15; ++n) {
        const float phase = n / 15.f;
        const Point centre{(n % 5) * 120.f + 60.f, (n / 5) * 120.f + 60.f};
        const int x0 = (n % 5) * 120, y0 = (n / 5) * 120;
        auto paint = [&](auto painter) { c.PaintRect(x0, y0, x0 + 120, y0 + 120, painter); };
        const float pulse = 0.5f + 0.5f * std::cos(2.f * kPi * phase);
        paint([&](float x, float y) {
            float d = CircleDistance({x, y}, centre, 0.f);
            return Fade(halo, (0.25f + 0.2f * pulse) * Glow(d, 56.f));
        });
        // Two rings, half a cycle apart, born and fading at zero so the loop has no seam.
        for (float offset : {0.f, 0.5f}) {
            float q = phase + offset - std::floor(phase + offset);
            float s = std::sin(kPi * q);
            paint([&](float x, float y) {
                float ring = std::fabs(CircleDistance({x, y}, centre, 12.f + 44.f * q)) - 1.2f;
                return Fade(halo, 0.7f * s * s * Coverage(ring));
            });
        }
        // Three sparks circling the star.
        for (int k = 0; k < 3; ++k) {
            float a = 2.f * kPi * (phase + k / 3.f);
            Point spark{centre.x + 40.f * std::cos(a), centre.y + 40.f * std::sin(a)};
            paint([&](float x, float y) {
                float d = CircleDistance({x, y}, spark, 2.2f);
                return Fade(gold, std::max(Coverage(d), 0.6f * Glow(d, 5.f)));
            });
        }
        // A four-pointed star turning a quarter turn per cycle (it looks the same after it).
        const float angle = phase * kPi * 0.5f;
        const float size = 30.f + 5.f * pulse;
        paint([&](float x, float y) {
            float d = StarDistance({x, y}, centre, 4, size, size * 0.22f, angle);
            return Fade(star, std::max(Coverage(d), 0.55f * Glow(d, 8.f)));
        });
    }
    return c;
}

}  // namespace democontent
