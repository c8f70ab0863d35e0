#include "platform/d3d/soft/primitive_assembly.h"

#include "platform/d3d/soft/clipping.h"
#include "platform/d3d/soft/rasterizer.h"

namespace soft {
namespace {

float polygon_area(const ScreenVertex* p, unsigned count)
{
    double area = 0.0;
    for (unsigned i = 0; i < count; ++i) {
        const ScreenVertex& a = p[i];
        const ScreenVertex& b = p[(i + 1) % count];
        area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return static_cast<float>(area);
}

bool culled(CullSign cull, float area)
{
    return area == 0.0f || (cull == CullSign::RemovePositive && area > 0.0f) ||
           (cull == CullSign::RemoveNegative && area < 0.0f);
}

struct Assembler {
    const PrimitiveConstants& p;
    const DrawConstants& k;
    SpanFn span;
    const AssemblyInput& in;
    std::vector<SetupTriangle>* out;

    void wire(const ScreenVertex* polygon, unsigned count) const
    {
        if (culled(p.cull, polygon_area(polygon, count))) return;
        for (unsigned i = 0; i < count; ++i) {
            if (p.fill == D3DFILL_POINT) {
                draw_point(k, span, polygon[i]);
            } else {
                draw_line(k, span, polygon[i], polygon[(i + 1) % count], p.last_pixel);
            }
        }
    }

    void clipped(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, const ClipVertex& provoking,
                 std::uint32_t mask) const
    {
        ClipVertex polygon_clip[kMaxClipped];
        const unsigned count = clip_triangle(a, b, c, mask, p.guard, polygon_clip);
        if (count < 3) return;
        ScreenVertex polygon[kMaxClipped];
        for (unsigned i = 0; i < count; ++i) polygon[i] = project_vertex(polygon_clip[i], p);
        if (p.fill != D3DFILL_SOLID) {
            wire(polygon, count);
            return;
        }
        if (culled(p.cull, polygon_area(polygon, count))) return;
        const ScreenVertex pv = project_vertex(provoking, p);
        for (unsigned i = 1; i + 1 < count; ++i) set_up(polygon[0], polygon[i], polygon[i + 1], pv, CullSign::None);
    }

    void triangle(std::uint32_t i0, std::uint32_t i1, std::uint32_t i2, std::uint32_t provoking) const
    {
        const std::uint32_t oa = in.screen[i0].outcode;
        const std::uint32_t ob = in.screen[i1].outcode;
        const std::uint32_t oc = in.screen[i2].outcode;
        const std::uint32_t any = oa | ob | oc;
        if ((oa & ob & oc) != 0 || (any & CLIP_INVALID)) return;
        if (any != 0) {
            clipped(in.clip[i0], in.clip[i1], in.clip[i2], in.clip[provoking], any);
            return;
        }
        if (p.fill != D3DFILL_SOLID) {
            const ScreenVertex polygon[3] = {in.screen[i0], in.screen[i1], in.screen[i2]};
            wire(polygon, 3);
            return;
        }
        set_up(in.screen[i0], in.screen[i1], in.screen[i2], in.screen[provoking], p.cull);
    }

    // Set up straight into the output, kept only when the triangle is drawn.
    void set_up(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const ScreenVertex& provoking,
                CullSign cull) const
    {
        SetupTriangle& t = out->emplace_back();
        if (!setup_triangle(a, b, c, provoking, cull, k, &t)) out->pop_back();
    }
};

}  // namespace

ScreenVertex project_vertex(const ClipVertex& v, const PrimitiveConstants& p)
{
    ScreenVertex s;
    const float q = 1.0f / v.h[3];
    s.x = v.h[0] * q;
    s.y = v.h[1] * q;
    s.q = q;
    s.depth = p.transformed ? p.depth_min + v.h[2] * q * p.depth_scale : v.h[2] * q;
    for (unsigned i = 0; i < kAttributes; ++i) s.attr[i] = v.attr[i] * q;
    s.outcode = v.outcode;
    return s;
}

void project_vertices(const PrimitiveConstants& p, const ClipVertex* clip, DWORD first, DWORD count,
                      ScreenVertex* screen)
{
    for (DWORD i = first; i < first + count; ++i) {
        if (clip[i].outcode == 0) {
            screen[i] = project_vertex(clip[i], p);
        } else {
            screen[i].outcode = clip[i].outcode;
        }
    }
}

DWORD triangle_count(D3DPRIMITIVETYPE type, DWORD n)
{
    switch (type) {
    case D3DPT_TRIANGLELIST: return n / 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return n >= 3 ? n - 2 : 0;
    case D3DPT_POINTLIST:
    case D3DPT_LINELIST:
    case D3DPT_LINESTRIP: return 0;
    }
    return 0;
}

void assemble_triangles(const PrimitiveConstants& p, const DrawConstants& k, SpanFn span, const AssemblyInput& in,
                        DWORD first, DWORD count, std::vector<SetupTriangle>* out)
{
    const Assembler a{p, k, span, in, out};
    auto index = [&](DWORD i) -> std::uint32_t { return in.indices != nullptr ? in.indices[i] : i; };
    for (DWORD n = first; n < first + count; ++n) {
        switch (in.type) {
        case D3DPT_TRIANGLELIST: a.triangle(index(3 * n), index(3 * n + 1), index(3 * n + 2), index(3 * n)); break;
        case D3DPT_TRIANGLESTRIP:
            if (n & 1) {
                a.triangle(index(n + 1), index(n), index(n + 2), index(n));
            } else {
                a.triangle(index(n), index(n + 1), index(n + 2), index(n));
            }
            break;
        case D3DPT_TRIANGLEFAN: a.triangle(index(0), index(n + 1), index(n + 2), index(n + 1)); break;
        case D3DPT_POINTLIST:
        case D3DPT_LINELIST:
        case D3DPT_LINESTRIP: return;
        }
    }
}

void assemble_line(const PrimitiveConstants& p, const DrawConstants& k, SpanFn span, ClipVertex a, ClipVertex b)
{
    const std::uint32_t any = a.outcode | b.outcode;
    if ((a.outcode & b.outcode) != 0 || (any & CLIP_INVALID)) return;
    if (any != 0 && !clip_segment(&a, &b, any, p.guard)) return;
    draw_line(k, span, project_vertex(a, p), project_vertex(b, p), p.last_pixel);
}

}  // namespace soft
