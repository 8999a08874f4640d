// Jacket painting: a gradient ground, a motif of the song's style, and a thin border.
// Depends on: Jacket.h, Shapes.h, Rng.h.
#include "Jacket.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Rng.h"
#include "Shapes.h"

namespace democontent {

namespace {

constexpr int kSize = 256;
constexpr float kPi = std::numbers::pi_v<float>;

// Scattered twinkling stars and a band of light across the sky.
void PaintStars(Canvas& c, const SongPlan& plan, Rng& rng) {
    c.Paint([&](float x, float y) {
        float band = std::fabs((x - y * 0.8f) - 40.f);
        return Fade(plan.jacketAccent, 0.25f * Glow(band, 60.f));
    });
    for (int i = 0; i < 40; ++i) {
        Point p{static_cast<float>(rng.Unit() * kSize), static_cast<float>(rng.Unit() * kSize)};
        float r = 0.8f + static_cast<float>(rng.Unit()) * 1.6f;
        c.PaintRect(
            static_cast<int>(p.x) - 8, static_cast<int>(p.y) - 8, static_cast<int>(p.x) + 9,
            static_cast<int>(p.y) + 9, [&](float x, float y) {
                float d = CircleDistance({x, y}, p, r);
                return Fade(Rgba{1, 1, 0.9f, 1}, std::max(Coverage(d), 0.4f * Glow(d, 4.f)));
            });
    }
    // Five large fragments of a star falling across the cover.
    for (int i = 0; i < 5; ++i) {
        Point p{60.f + 35.f * i, 190.f - 30.f * i};
        float size = 12.f + 4.f * i;
        float angle = static_cast<float>(rng.Unit()) * kPi;
        c.Paint([&](float x, float y) {
            float d = StarDistance({x, y}, p, 5, size, size * 0.45f, angle);
            Rgba fill = Mix(Rgba{1, 0.95f, 0.6f, 1}, plan.jacketAccent, 0.3f);
            return Fade(fill, std::max(Coverage(d), 0.5f * Glow(d, 10.f)));
        });
    }
}

// Rows of glowing lanterns hanging over a dark street.
void PaintLanterns(Canvas& c, const SongPlan& plan, Rng& rng) {
    for (int row = 0; row < 3; ++row) {
        float y0 = 50.f + row * 62.f;
        float sag = 12.f + row * 4.f;
        c.Paint([&](float x, float y) {
            float line = y0 + sag * std::sin(kPi * x / kSize) - 14.f;
            return Fade(Rgba{0.1f, 0.05f, 0.05f, 1}, 0.8f * Coverage(std::fabs(y - line) - 0.7f));
        });
        int count = 4 + row;
        for (int i = 0; i < count; ++i) {
            float x = (i + 0.5f) * kSize / count + static_cast<float>(rng.Signed()) * 6.f;
            float y = y0 + sag * std::sin(kPi * x / kSize);
            Point p{x, y};
            float rx = 11.f - row * 2.f, ry = 14.f - row * 2.f;
            c.Paint([&](float px, float py) {
                float d = RoundBoxDistance({px, py}, p, rx, ry, rx * 0.9f);
                Rgba glow = plan.jacketAccent;
                Rgba body = Mix(Rgba{1, 0.9f, 0.55f, 1}, plan.jacketAccent,
                                std::clamp((py - p.y + ry) / (2 * ry), 0.f, 1.f));
                return d < 3.f ? Fade(body, Coverage(d)) : Fade(glow, 0.45f * Glow(d, 22.f));
            });
        }
    }
}

// A rising sun with rays fanning out from it.
void PaintSunbeam(Canvas& c, const SongPlan& plan, Rng&) {
    const Point sun{128, 200};
    c.Paint([&](float x, float y) {
        float a = std::atan2(y - sun.y, x - sun.x);
        float ray = 0.5f + 0.5f * std::cos(a * 14.f);
        float fall = Glow(CircleDistance({x, y}, sun, 0.f), 260.f);
        return Fade(Rgba{1, 1, 0.85f, 1}, 0.35f * ray * ray * fall);
    });
    c.Paint([&](float x, float y) {
        float d = CircleDistance({x, y}, sun, 46.f);
        Rgba body = Mix(Rgba{1, 0.98f, 0.8f, 1}, plan.jacketAccent,
                        std::clamp((y - 154.f) / 92.f, 0.f, 1.f));
        return d < 2.f ? Fade(body, Coverage(d))
                       : Fade(Rgba{1, 0.95f, 0.7f, 1}, 0.6f * Glow(d, 30.f));
    });
    // Bands of hills in front of the sun.
    for (int k = 0; k < 3; ++k) {
        c.Paint([&](float x, float y) {
            float ridge = 205.f + 16.f * k + 10.f * std::sin(x * 0.025f + k * 1.7f);
            Rgba hill = Mix(plan.jacketBottom, Rgba{0.15f, 0.05f, 0.1f, 1}, 0.3f + 0.25f * k);
            return Fade(hill, Coverage(ridge - y));
        });
    }
}

}  // namespace

// The jacket of a song.
Canvas PaintJacket(const SongPlan& plan) {
    Canvas c(kSize, kSize);
    c.Paint([&](float, float y) { return Mix(plan.jacketTop, plan.jacketBottom, y / kSize); });
    Rng rng(plan.seed * 40503u + 7u);
    switch (plan.jacket) {
        case JacketStyle::Stars:
            PaintStars(c, plan, rng);
            break;
        case JacketStyle::Lanterns:
            PaintLanterns(c, plan, rng);
            break;
        case JacketStyle::Sunbeam:
            PaintSunbeam(c, plan, rng);
            break;
    }
    c.Paint([&](float x, float y) {
        float d = -RoundBoxDistance({x, y}, {128, 128}, 124.f, 124.f, 6.f);
        return Fade(plan.jacketAccent, 0.9f * Coverage(std::fabs(d - 2.f) - 1.f));
    });
    return c;
}

}  // namespace democontent
