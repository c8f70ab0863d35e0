#include "platform/d3d/soft/clipping.h"

#include <cmath>

namespace soft {
namespace {

constexpr float kMinW = 1e-12f;

float plane_distance(const ClipVertex& v, unsigned plane, const GuardBand& g)
{
    switch (plane) {
    case 0: case 1: case 2: case 3: return guard_plane_distance(v.h, plane, g);
    case 4: return v.h[2];
    case 5: return v.h[3] - v.h[2];
    default: return v.h[3] - kMinW;
    }
}

void interpolate(const ClipVertex& inside, const ClipVertex& outside, float t, ClipVertex* out)
{
    for (int i = 0; i < 4; ++i) out->h[i] = inside.h[i] + t * (outside.h[i] - inside.h[i]);
    for (unsigned i = 0; i < kAttributes; ++i) out->attr[i] = inside.attr[i] + t * (outside.attr[i] - inside.attr[i]);
    out->outcode = 0;
}

}  // namespace

std::uint32_t clip_outcode(const ClipVertex& v, const GuardBand& guard, bool depth_planes)
{
    // Beyond this magnitude plane distances (guard · w) could overflow and clipping would make NaNs.
    constexpr float kLimit = 1.0e18f;
    for (float h : v.h) {
        if (!(std::fabs(h) < kLimit)) return CLIP_INVALID;
    }
    std::uint32_t code = 0;
    for (unsigned plane = 0; plane < 7; ++plane) {
        if (!depth_planes && (plane == 4 || plane == 5)) continue;
        if (plane_distance(v, plane, guard) < 0.0f) code |= 1u << plane;
    }
    return code;
}

unsigned clip_triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, std::uint32_t mask,
                       const GuardBand& guard, ClipVertex* out)
{
    ClipVertex buffer[2][kMaxClipped + 2];
    ClipVertex* in = buffer[0];
    ClipVertex* next = buffer[1];
    in[0] = a;
    in[1] = b;
    in[2] = c;
    unsigned count = 3;
    for (unsigned plane = 0; plane < 7 && count > 0; ++plane) {
        if (!(mask & (1u << plane))) continue;
        unsigned produced = 0;
        for (unsigned i = 0; i < count; ++i) {
            const ClipVertex& p = in[i];
            const ClipVertex& q = in[(i + 1) % count];
            const float dp = plane_distance(p, plane, guard);
            const float dq = plane_distance(q, plane, guard);
            const bool p_in = dp >= 0.0f;
            const bool q_in = dq >= 0.0f;
            if (p_in) next[produced++] = p;
            if (p_in != q_in && produced < kMaxClipped + 1) {
                if (p_in) {
                    interpolate(p, q, dp / (dp - dq), &next[produced++]);
                } else {
                    interpolate(q, p, dq / (dq - dp), &next[produced++]);
                }
            }
        }
        count = produced > kMaxClipped ? kMaxClipped : produced;
        ClipVertex* t = in;
        in = next;
        next = t;
    }
    for (unsigned i = 0; i < count; ++i) out[i] = in[i];
    return count;
}

bool clip_segment(ClipVertex* a, ClipVertex* b, std::uint32_t mask, const GuardBand& guard)
{
    for (unsigned plane = 0; plane < 7; ++plane) {
        if (!(mask & (1u << plane))) continue;
        const float da = plane_distance(*a, plane, guard);
        const float db = plane_distance(*b, plane, guard);
        if (da < 0.0f && db < 0.0f) return false;
        if (da < 0.0f) {
            ClipVertex v;
            interpolate(*b, *a, db / (db - da), &v);
            *a = v;
        } else if (db < 0.0f) {
            ClipVertex v;
            interpolate(*a, *b, da / (da - db), &v);
            *b = v;
        }
    }
    return true;
}

}  // namespace soft
