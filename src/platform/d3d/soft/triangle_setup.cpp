#include "platform/d3d/soft/triangle_setup.h"

#include <algorithm>
#include <cmath>

#include "platform/d3d/soft/fixed_point.h"

namespace soft {
namespace {

struct Fixed {
    std::int64_t x, y;
};

Fixed snap(const ScreenVertex& v)
{
    return Fixed{static_cast<std::int64_t>(std::lrint(v.x * kSubpixelScale)),
                 static_cast<std::int64_t>(std::lrint(v.y * kSubpixelScale))};
}

std::int64_t floor_div(std::int64_t n, std::int64_t d)
{
    std::int64_t q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return q;
}

std::int64_t ceil_div(std::int64_t n, std::int64_t d)
{
    return -floor_div(-n, d);
}

}  // namespace

bool setup_triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                    const ScreenVertex& provoking, CullSign cull, const DrawConstants& k, SetupTriangle* out)
{
    const ScreenVertex* v[3] = {&a, &b, &c};
    Fixed p[3] = {snap(a), snap(b), snap(c)};
    const std::int64_t area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
    if (area == 0) return false;
    if ((cull == CullSign::RemovePositive && area > 0) || (cull == CullSign::RemoveNegative && area < 0)) return false;
    if (area < 0) {  // make the winding clockwise on screen so every interior edge value is positive
        std::swap(v[1], v[2]);
        std::swap(p[1], p[2]);
    }

    // Bounding box of pixel centres, inside the scissor.
    const std::int64_t min_x = std::min({p[0].x, p[1].x, p[2].x});
    const std::int64_t max_x = std::max({p[0].x, p[1].x, p[2].x});
    const std::int64_t min_y = std::min({p[0].y, p[1].y, p[2].y});
    const std::int64_t max_y = std::max({p[0].y, p[1].y, p[2].y});
    const std::int64_t bx0 = std::max<std::int64_t>(ceil_div(min_x, kSubpixelOne), k.scissor_x0);
    const std::int64_t by0 = std::max<std::int64_t>(ceil_div(min_y, kSubpixelOne), k.scissor_y0);
    const std::int64_t bx1 = std::min<std::int64_t>(floor_div(max_x, kSubpixelOne) + 1, k.scissor_x1);
    const std::int64_t by1 = std::min<std::int64_t>(floor_div(max_y, kSubpixelOne) + 1, k.scissor_y1);
    if (bx0 >= bx1 || by0 >= by1) return false;
    out->x0 = static_cast<int>(bx0);
    out->y0 = static_cast<int>(by0);
    out->x1 = static_cast<int>(bx1);
    out->y1 = static_cast<int>(by1);

    for (int e = 0; e < 3; ++e) {
        const Fixed& s = p[e];
        const Fixed& t = p[(e + 1) % 3];
        const std::int64_t dx = t.x - s.x;
        const std::int64_t dy = t.y - s.y;
        const bool top = dy == 0 && dx > 0;
        const bool left = dy < 0;
        out->edge_a[e] = -dy * kSubpixelOne;
        out->edge_b[e] = dx * kSubpixelOne;
        out->edge_c[e] = -dx * s.y + dy * s.x - ((top || left) ? 0 : 1);
    }

    // Planes through the snapped positions, relative to the first vertex.
    const double x0 = static_cast<double>(p[0].x) / kSubpixelOne;
    const double y0 = static_cast<double>(p[0].y) / kSubpixelOne;
    const double dx1 = static_cast<double>(p[1].x) / kSubpixelOne - x0;
    const double dy1 = static_cast<double>(p[1].y) / kSubpixelOne - y0;
    const double dx2 = static_cast<double>(p[2].x) / kSubpixelOne - x0;
    const double dy2 = static_cast<double>(p[2].y) / kSubpixelOne - y0;
    const double inv_det = 1.0 / (dx1 * dy2 - dx2 * dy1);
    out->ox = static_cast<float>(x0);
    out->oy = static_cast<float>(y0);
    auto plane = [&](double f0, double f1, double f2) {
        const double d1 = f1 - f0;
        const double d2 = f2 - f0;
        return Plane{static_cast<float>((d1 * dy2 - d2 * dy1) * inv_det),
                     static_cast<float>((d2 * dx1 - d1 * dx2) * inv_det), static_cast<float>(f0)};
    };
    out->q = plane(v[0]->q, v[1]->q, v[2]->q);
    out->depth = plane(v[0]->depth, v[1]->depth, v[2]->depth);
    for (unsigned i = 0; i < kAttributes; ++i) {
        if (!(k.attr_mask & (1u << i))) {
            out->attr[i] = Plane{0.0f, 0.0f, 0.0f};
            continue;
        }
        const bool colour = i < kAttrTex;
        if (k.flat && colour) {
            // Flat shading: the provoking vertex's colour, still divided by the interpolated 1/w.
            const double value = static_cast<double>(provoking.attr[i]) / provoking.q;
            out->attr[i] = plane(value * v[0]->q, value * v[1]->q, value * v[2]->q);
        } else {
            out->attr[i] = plane(v[0]->attr[i], v[1]->attr[i], v[2]->attr[i]);
        }
    }
    return true;
}

}  // namespace soft
