// Signed distance functions of simple shapes (negative inside, in pixels) and the coverage
// that turns a distance into an anti-aliased edge.
// Depends on: nothing beyond the standard library.
#pragma once

#include <vector>

namespace democontent {

struct Point {
    float x = 0, y = 0;
};

// Coverage of a pixel whose centre lies at signed distance d from an edge (1 inside, 0 out).
float Coverage(float d);
// Soft falloff for glows: 1 at distance 0 or inside, fading to 0 at radius.
float Glow(float d, float radius);
// Distance to a circle of radius r around c.
float CircleDistance(Point p, Point c, float r);
// Distance to a rounded box with centre c, half sizes hx, hy and corner radius r.
float RoundBoxDistance(Point p, Point c, float hx, float hy, float r);
// Distance to the segment from a to b (always >= 0).
float SegmentDistance(Point p, Point a, Point b);
// Distance to a closed polygon (even-odd inside test).
float PolygonDistance(Point p, const std::vector<Point>& polygon);
// Distance to a star of n points with outer radius ro and inner radius ri, turned by angle.
float StarDistance(Point p, Point c, int n, float ro, float ri, float angle);

}  // namespace democontent
