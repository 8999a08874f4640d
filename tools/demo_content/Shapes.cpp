// Shape distances for the texture painter; all arithmetic in float so results stay repeatable.
// Depends on: Shapes.h.
#include "Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace democontent {

// Coverage of a pixel whose centre lies at signed distance d from an edge.
float Coverage(float d) { return std::clamp(0.5f - d, 0.f, 1.f); }

// Soft falloff for glows: 1 at distance 0 or inside, fading smoothly to 0 at radius.
float Glow(float d, float radius) {
    if (d <= 0.f) return 1.f;
    float t = std::clamp(1.f - d / radius, 0.f, 1.f);
    return t * t * (3.f - 2.f * t);
}

// Distance to a circle of radius r around c.
float CircleDistance(Point p, Point c, float r) { return std::hypot(p.x - c.x, p.y - c.y) - r; }

// Distance to a rounded box with centre c, half sizes hx, hy and corner radius r.
float RoundBoxDistance(Point p, Point c, float hx, float hy, float r) {
    float qx = std::fabs(p.x - c.x) - hx + r;
    float qy = std::fabs(p.y - c.y) - hy + r;
    float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - r;
}

// Distance to the segment from a to b.
float SegmentDistance(Point p, Point a, Point b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.f ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.f, 1.f) : 0.f;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Distance to a closed polygon, negative inside (even-odd rule).
float PolygonDistance(Point p, const std::vector<Point>& polygon) {
    float best = 1e30f;
    bool inside = false;
    size_t n = polygon.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        Point a = polygon[j], b = polygon[i];
        best = std::min(best, SegmentDistance(p, a, b));
        bool crosses = (a.y > p.y) != (b.y > p.y);
        if (crosses && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside ? -best : best;
}

// Distance to a star of n points with outer radius ro and inner radius ri, turned by angle.
float StarDistance(Point p, Point c, int n, float ro, float ri, float angle) {
    std::vector<Point> points;
    const float step = std::numbers::pi_v<float> / n;
    for (int k = 0; k < 2 * n; ++k) {
        float r = (k % 2 == 0) ? ro : ri;
        float a = angle + k * step;
        points.push_back({c.x + r * std::sin(a), c.y - r * std::cos(a)});
    }
    return PolygonDistance(p, points);
}

}  // namespace democontent
