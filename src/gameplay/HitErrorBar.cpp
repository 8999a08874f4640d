// HitErrorBar: the bars' bands, centre mark and fading ticks.
#include "gameplay/HitErrorBar.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "services/SpriteRenderer.h"
#include "services/TextureStore.h"

namespace {

constexpr float kLaneX[2] = {420.0f, 800.0f};

// Milliseconds of the window of k updates widened by gap; 0 when the gap closes it.
double WindowMs(float unit, float k, float gap) {
    return std::max(0.0, double(WindowBound(unit, k, gap)) / unit * HitErrors::kUpdateMs);
}

// A rectangle of the white texture, tinted, at depth 0 (over the notes).
void Box(float left, float top, float width, float height, ColorRgb tint, int alpha) {
    const IntRect source{0, 0, std::max(1, int(std::lround(width))),
                         std::max(1, int(std::lround(height)))};
    SpriteRenderer::Get().DrawSprite({left, top}, &source, alpha, 0, {0, 0}, tint.red, tint.green,
                                     tint.blue, 0, 1, WhiteTexture());
}

// The grade bands of one bar: Bad, OK and Great early, Perfect around the centre, Great late.
void DrawBands(float x, float y, float unit, float gap) {
    const double badMs = WindowMs(unit, 20, gap);
    struct Band {
        float from, to;
        Grade grade;
    };
    const float perfect = float(WindowMs(unit, 3, gap)), great = float(WindowMs(unit, 9, gap));
    const float ok = float(WindowMs(unit, 10, gap));
    const Band bands[] = {{-float(badMs), -ok, Grade::kBad},
                          {-ok, -great, Grade::kOk},
                          {-great, -perfect, Grade::kGreat},
                          {-perfect, perfect, Grade::kPerfect},
                          {perfect, great, Grade::kGreat}};
    for (const Band& b : bands) {
        const float left = TickX(x, b.from, unit, gap), right = TickX(x, b.to, unit, gap);
        if (right - left >= 1) Box(left, y - 1, right - left, 3, InfoOf(b.grade).color, 110);
    }
    Box(x - 0.5f, y - 6, 1, 13, kWhite, 200);
}

}  // namespace

float TickX(float x, double ms, float unit, float gap) {
    const double badMs = WindowMs(unit, 20, gap);
    if (badMs <= 0) return x;
    return x + float(std::clamp(ms / badMs, -1.0, 1.0)) * kBarHalfWidth;
}

void DrawHitErrorBars(const std::vector<HitError>& errors, float unit, float gap, float hitLine) {
    const float y = hitLine + kBarBelowLine;
    for (int lane = 0; lane < 2; ++lane) {
        std::vector<const HitError*> last;
        for (auto it = errors.rbegin(); it != errors.rend() && last.size() < kBarTicks; ++it)
            if (it->lane == lane) last.push_back(&*it);
        if (last.empty()) continue;
        DrawBands(kLaneX[lane], y, unit, gap);
        // Oldest first, so the newest lies on top; each older press a little fainter.
        for (size_t age = last.size(); age-- > 0;) {
            const int alpha = 255 - int(age) * 200 / int(kBarTicks);
            Box(TickX(kLaneX[lane], last[age]->ms, unit, gap) - 1, y - 5, 2, 11,
                InfoOf(last[age]->grade).color, alpha);
        }
    }
}
