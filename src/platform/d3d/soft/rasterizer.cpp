#include "platform/d3d/soft/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace soft {
namespace {

// Spans at most this wide on both rows go to the two-row loop; wider ones fill the lanes of the
// one-row loop by themselves.
constexpr int kPairMaxWidth = 16;

}  // namespace

void raster_triangle(const DrawConstants& k, SpanFn span, SpanPairFn pair, const SetupTriangle& t, int x0, int y0,
                     int x1, int y1)
{
    const int ya = std::max(t.y0, y0);
    const int yb = std::min(t.y1, y1);
    const int xa = std::max(t.x0, x0);
    const int xb = std::min(t.x1, x1);
    if (xa >= xb) return;
    int y = ya;
    if (pair != nullptr) {
        for (; y + 1 < yb; y += 2) {
            int s0[2] = {0, 0};
            int s1[2] = {0, 0};
            const bool has0 = triangle_row_span(t, y, xa, xb, &s0[0], &s1[0]);
            const bool has1 = triangle_row_span(t, y + 1, xa, xb, &s0[1], &s1[1]);
            if (!has0) s0[0] = s1[0] = 0;
            if (!has1) s0[1] = s1[1] = 0;
            if (!has0 && !has1) continue;
            if (s1[0] - s0[0] <= kPairMaxWidth && s1[1] - s0[1] <= kPairMaxWidth) {
                pair(k, t, y, s0, s1);
            } else {
                if (has0) span(k, t, y, s0[0], s1[0]);
                if (has1) span(k, t, y + 1, s0[1], s1[1]);
            }
        }
    }
    for (; y < yb; ++y) {
        int s0, s1;
        if (triangle_row_span(t, y, xa, xb, &s0, &s1)) span(k, t, y, s0, s1);
    }
}

namespace {

// A one-pixel "triangle" whose planes vary only along the major axis of a line (or not at all, for a
// point), so the pixel loop can shade line and point pixels.
void line_planes(const ScreenVertex& a, const ScreenVertex& b, bool x_major, SetupTriangle* t)
{
    t->ox = a.x;
    t->oy = a.y;
    const float length = x_major ? (b.x - a.x) : (b.y - a.y);
    auto plane = [&](float fa, float fb) {
        const float slope = length != 0.0f ? (fb - fa) / length : 0.0f;
        return x_major ? Plane{slope, 0.0f, fa} : Plane{0.0f, slope, fa};
    };
    t->q = plane(a.q, b.q);
    t->depth = plane(a.depth, b.depth);
    for (unsigned i = 0; i < kAttributes; ++i) t->attr[i] = plane(a.attr[i], b.attr[i]);
}

void plot(const DrawConstants& k, SpanFn span, const SetupTriangle& t, int x, int y)
{
    if (x < k.scissor_x0 || x >= k.scissor_x1 || y < k.scissor_y0 || y >= k.scissor_y1) return;
    span(k, t, y, x, x + 1);
}

// The pixel whose centre is nearest (halves go down-left); coordinates are clamped far outside any
// target first, so the conversion is always defined.
int nearest_centre(float v)
{
    if (!(v > -1.0e6f)) return -1000000;
    if (v > 1.0e6f) return 1000000;
    return static_cast<int>(std::ceil(v - 0.5f));
}

}  // namespace

void draw_line(const DrawConstants& k, SpanFn span, const ScreenVertex& a, const ScreenVertex& b, bool last_pixel)
{
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const bool x_major = std::fabs(dx) >= std::fabs(dy);
    SetupTriangle t;
    line_planes(a, b, x_major, &t);
    const float major0 = x_major ? a.x : a.y;
    const float major1 = x_major ? b.x : b.y;
    const float minor0 = x_major ? a.y : a.x;
    const float slope = (major1 != major0) ? (x_major ? dy / dx : dx / dy) : 0.0f;
    const int start = nearest_centre(major0);
    const int end = nearest_centre(major1);
    const int step = end >= start ? 1 : -1;
    // Pixel centres start .. end, the end one only with LASTPIXEL; walked only inside the scissor box
    // along the major axis (lines were clipped to the guard band).
    const int lo = x_major ? k.scissor_x0 : k.scissor_y0;
    const int hi = (x_major ? k.scissor_x1 : k.scissor_y1) - 1;
    int first = start;
    int last = last_pixel ? end : end - step;
    if (step > 0) {
        first = std::max(first, lo);
        last = std::min(last, hi);
        if (first > last) return;
    } else {
        first = std::min(first, hi);
        last = std::max(last, lo);
        if (first < last) return;
    }
    for (int i = first;; i += step) {
        const int j = nearest_centre(minor0 + (static_cast<float>(i) - major0) * slope);
        if (x_major) {
            plot(k, span, t, i, j);
        } else {
            plot(k, span, t, j, i);
        }
        if (i == last) break;
    }
}

void draw_point(const DrawConstants& k, SpanFn span, const ScreenVertex& v)
{
    SetupTriangle t;
    t.ox = v.x;
    t.oy = v.y;
    t.q = Plane{0.0f, 0.0f, v.q};
    t.depth = Plane{0.0f, 0.0f, v.depth};
    for (unsigned i = 0; i < kAttributes; ++i) t.attr[i] = Plane{0.0f, 0.0f, v.attr[i]};
    plot(k, span, t, nearest_centre(v.x), nearest_centre(v.y));
}

}  // namespace soft
