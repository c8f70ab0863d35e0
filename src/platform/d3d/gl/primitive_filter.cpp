#include "platform/d3d/gl/primitive_filter.h"

#include <cmath>
#include <cstring>
#include <unordered_map>

#include "platform/d3d/core/state_reading.h"

namespace {

// A vertex in the homogeneous space of pre-transformed positions: (x·w, y·w, z·w, w), plus its
// colours as floats and its texture coordinates, all of which interpolate linearly here.
struct ClipPoint {
    double h[4];
    double diffuse[4];
    double specular[4];
    double tex[2 * D3DDP_MAXTEXCOORD];
};

float read_float(const BYTE* p)
{
    float v;
    std::memcpy(&v, p, 4);
    return v;
}

DWORD read_dword(const BYTE* p)
{
    DWORD v;
    std::memcpy(&v, p, 4);
    return v;
}

// The w of a pre-transformed vertex as the device takes it: 1/rhw, or -1 (behind the eye) when rhw is
// not a positive finite number.
double tl_w(const BYTE* v, const VertexLayout& layout)
{
    const float rhw = read_float(v + layout.offset_rhw);
    return (rhw > 0.0f && std::isfinite(rhw)) ? 1.0 / rhw : -1.0;
}

// A position the device can place: x, y and z finite (a pre-transformed vertex with an unusable 1/w is
// not invalid; it lies behind the eye and is clipped away).
bool vertex_valid(const BYTE* v)
{
    const float x = read_float(v), y = read_float(v + 4), z = read_float(v + 8);
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

// Which guard planes a pre-transformed vertex lies outside of (bit per plane), or 0.
unsigned outcode(const BYTE* v, const VertexLayout& layout, const GuardBand& g)
{
    const double w = tl_w(v, layout);
    const double x = read_float(v) * w, y = read_float(v + 4) * w;
    unsigned code = 0;
    if (x < g.left * w) code |= 1;
    if (x > g.right * w) code |= 2;
    if (y < g.top * w) code |= 4;
    if (y > g.bottom * w) code |= 8;
    return code;
}

double plane_distance(const ClipPoint& p, unsigned plane, const GuardBand& g)
{
    return guard_plane_distance(p.h, plane, g);
}

void unpack_color(DWORD c, double out[4])
{
    out[0] = (c >> 16) & 0xFF;
    out[1] = (c >> 8) & 0xFF;
    out[2] = c & 0xFF;
    out[3] = c >> 24;
}

DWORD pack_color(const double in[4])
{
    auto byte = [](double v) {
        const double r = std::floor(v + 0.5);
        return static_cast<DWORD>(r < 0.0 ? 0.0 : (r > 255.0 ? 255.0 : r));
    };
    return byte(in[3]) << 24 | byte(in[0]) << 16 | byte(in[1]) << 8 | byte(in[2]);
}

ClipPoint to_clip(const BYTE* v, const VertexLayout& layout)
{
    ClipPoint p{};
    const double w = tl_w(v, layout);
    p.h[0] = read_float(v) * w;
    p.h[1] = read_float(v + 4) * w;
    p.h[2] = read_float(v + 8) * w;
    p.h[3] = w;
    if (layout.has_diffuse) unpack_color(read_dword(v + layout.offset_diffuse), p.diffuse);
    if (layout.has_specular) unpack_color(read_dword(v + layout.offset_specular), p.specular);
    for (DWORD i = 0; i < layout.texcoord_count; ++i) {
        p.tex[2 * i] = read_float(v + layout.offset_texcoord[i]);
        p.tex[2 * i + 1] = read_float(v + layout.offset_texcoord[i] + 4);
    }
    return p;
}

ClipPoint lerp(const ClipPoint& a, const ClipPoint& b, double t)
{
    ClipPoint r;
    for (int i = 0; i < 4; ++i) r.h[i] = a.h[i] + t * (b.h[i] - a.h[i]);
    for (int i = 0; i < 4; ++i) r.diffuse[i] = a.diffuse[i] + t * (b.diffuse[i] - a.diffuse[i]);
    for (int i = 0; i < 4; ++i) r.specular[i] = a.specular[i] + t * (b.specular[i] - a.specular[i]);
    for (unsigned i = 0; i < 2 * D3DDP_MAXTEXCOORD; ++i) r.tex[i] = a.tex[i] + t * (b.tex[i] - a.tex[i]);
    return r;
}

class Builder {
public:
    Builder(const DrawBatch& batch, const GuardBand& guard, bool flat, FilteredBatch* out)
        : batch_(batch), layout_(batch.layout), guard_(guard), flat_(flat), out_(out)
    {
    }

    const BYTE* vertex(std::uint32_t i) const { return batch_.vertices + static_cast<std::size_t>(i) * layout_.stride; }
    bool valid(std::uint32_t i) const { return vertex_valid(vertex(i)); }
    unsigned code(std::uint32_t i) const { return layout_.pretransformed ? outcode(vertex(i), layout_, guard_) : 0u; }

    // The original vertex i, copied once.
    std::uint32_t original(std::uint32_t i)
    {
        auto it = copied_.find(i);
        if (it != copied_.end()) return it->second;
        const std::uint32_t n = append(vertex(i));
        copied_.emplace(i, n);
        return n;
    }

    std::uint32_t append(const BYTE* data)
    {
        const std::uint32_t n = static_cast<std::uint32_t>(out_->vertices.size() / layout_.stride);
        out_->vertices.insert(out_->vertices.end(), data, data + layout_.stride);
        return n;
    }

    // A new vertex at p, its other fields (normal, reserved words) taken from template_vertex.
    std::uint32_t append(const ClipPoint& p, const BYTE* template_vertex, const BYTE* colour_source)
    {
        std::vector<BYTE> v(template_vertex, template_vertex + layout_.stride);
        const float w = static_cast<float>(p.h[3]);
        const float x = static_cast<float>(p.h[0] / p.h[3]), y = static_cast<float>(p.h[1] / p.h[3]);
        const float z = static_cast<float>(p.h[2] / p.h[3]), rhw = 1.0f / w;
        std::memcpy(v.data(), &x, 4);
        std::memcpy(v.data() + 4, &y, 4);
        std::memcpy(v.data() + 8, &z, 4);
        std::memcpy(v.data() + layout_.offset_rhw, &rhw, 4);
        if (colour_source != nullptr) {
            if (layout_.has_diffuse) std::memcpy(v.data() + layout_.offset_diffuse, colour_source + layout_.offset_diffuse, 4);
            if (layout_.has_specular) std::memcpy(v.data() + layout_.offset_specular, colour_source + layout_.offset_specular, 4);
        } else {
            const DWORD d = pack_color(p.diffuse), s = pack_color(p.specular);
            if (layout_.has_diffuse) std::memcpy(v.data() + layout_.offset_diffuse, &d, 4);
            if (layout_.has_specular) std::memcpy(v.data() + layout_.offset_specular, &s, 4);
        }
        for (DWORD i = 0; i < layout_.texcoord_count; ++i) {
            const float u = static_cast<float>(p.tex[2 * i]), t = static_cast<float>(p.tex[2 * i + 1]);
            std::memcpy(v.data() + layout_.offset_texcoord[i], &u, 4);
            std::memcpy(v.data() + layout_.offset_texcoord[i] + 4, &t, 4);
        }
        return append(v.data());
    }

    // One triangle whose first vertex is its provoking one.
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
    {
        if (!valid(a) || !valid(b) || !valid(c)) return;
        const unsigned ca = code(a), cb = code(b), cc = code(c);
        if ((ca & cb & cc) != 0) return;  // wholly beyond one guard plane: nothing of it can show
        if ((ca | cb | cc) == 0) {
            out_->indices.insert(out_->indices.end(), {original(a), original(b), original(c)});
            return;
        }
        ClipPoint polygon[2][12];
        polygon[0][0] = to_clip(vertex(a), layout_);
        polygon[0][1] = to_clip(vertex(b), layout_);
        polygon[0][2] = to_clip(vertex(c), layout_);
        unsigned count = 3, in = 0;
        for (unsigned plane = 0; plane < 4 && count > 0; ++plane) {
            if (!((ca | cb | cc) & (1u << plane))) continue;
            unsigned produced = 0;
            for (unsigned i = 0; i < count; ++i) {
                const ClipPoint& p = polygon[in][i];
                const ClipPoint& q = polygon[in][(i + 1) % count];
                const double dp = plane_distance(p, plane, guard_), dq = plane_distance(q, plane, guard_);
                if (dp >= 0.0 && produced < 12) polygon[1 - in][produced++] = p;
                if ((dp >= 0.0) != (dq >= 0.0) && produced < 12) polygon[1 - in][produced++] = lerp(p, q, dp / (dp - dq));
            }
            count = produced;
            in = 1 - in;
        }
        if (count < 3) return;
        const BYTE* colours = flat_ ? vertex(a) : nullptr;
        std::uint32_t first = append(polygon[in][0], vertex(a), colours);
        std::uint32_t previous = append(polygon[in][1], vertex(a), colours);
        for (unsigned i = 2; i < count; ++i) {
            const std::uint32_t next = append(polygon[in][i], vertex(a), colours);
            out_->indices.insert(out_->indices.end(), {first, previous, next});
            previous = next;
        }
    }

    void segment(std::uint32_t a, std::uint32_t b)
    {
        if (!valid(a) || !valid(b)) return;
        const unsigned ca = code(a), cb = code(b);
        if ((ca & cb) != 0) return;
        if ((ca | cb) == 0) {
            out_->indices.insert(out_->indices.end(), {original(a), original(b)});
            return;
        }
        ClipPoint p = to_clip(vertex(a), layout_), q = to_clip(vertex(b), layout_);
        for (unsigned plane = 0; plane < 4; ++plane) {
            if (!((ca | cb) & (1u << plane))) continue;
            const double dp = plane_distance(p, plane, guard_), dq = plane_distance(q, plane, guard_);
            if (dp < 0.0 && dq < 0.0) return;
            if (dp < 0.0) p = lerp(q, p, dq / (dq - dp));
            if (dq < 0.0) q = lerp(p, q, dp / (dp - dq));
        }
        const BYTE* colours = flat_ ? vertex(a) : nullptr;
        const std::uint32_t na = append(p, vertex(a), colours), nb = append(q, vertex(a), colours);
        out_->indices.insert(out_->indices.end(), {na, nb});
    }

    void point(std::uint32_t a)
    {
        if (valid(a)) out_->indices.push_back(original(a));
    }

private:
    const DrawBatch& batch_;
    const VertexLayout& layout_;
    GuardBand guard_;
    bool flat_;
    FilteredBatch* out_;
    std::unordered_map<std::uint32_t, std::uint32_t> copied_;
};

}  // namespace

bool primitive_filter(const DrawBatch& batch, const D3DVIEWPORT7& viewport, bool flat, FilteredBatch* out)
{
    const VertexLayout& layout = batch.layout;
    const GuardBand guard = state_guard_band(viewport);
    bool clean = true;
    for (DWORD i = 0; i < batch.vertex_count && clean; ++i) {
        const BYTE* v = batch.vertices + static_cast<std::size_t>(i) * layout.stride;
        if (!vertex_valid(v) || (layout.pretransformed && outcode(v, layout, guard) != 0)) clean = false;
    }
    if (clean) return true;

    out->vertices.clear();
    out->indices.clear();
    Builder b(batch, guard, flat, out);
    const DWORD n = batch.indices != nullptr ? batch.index_count : batch.vertex_count;
    auto index = [&](DWORD i) -> std::uint32_t { return batch.indices != nullptr ? batch.indices[i] : i; };
    switch (batch.type) {
    case D3DPT_POINTLIST:
        out->type = D3DPT_POINTLIST;
        for (DWORD i = 0; i < n; ++i) b.point(index(i));
        break;
    case D3DPT_LINELIST:
        out->type = D3DPT_LINELIST;
        for (DWORD i = 0; i + 1 < n; i += 2) b.segment(index(i), index(i + 1));
        break;
    case D3DPT_LINESTRIP:
        out->type = D3DPT_LINELIST;
        for (DWORD i = 0; i + 1 < n; ++i) b.segment(index(i), index(i + 1));
        break;
    // Triangles keep their winding and put their provoking vertex first: a list's first, a strip's
    // i-th (odd triangles turned to (i, i+2, i+1)), a fan's second.
    case D3DPT_TRIANGLELIST:
        out->type = D3DPT_TRIANGLELIST;
        for (DWORD i = 0; i + 2 < n; i += 3) b.triangle(index(i), index(i + 1), index(i + 2));
        break;
    case D3DPT_TRIANGLESTRIP:
        out->type = D3DPT_TRIANGLELIST;
        for (DWORD i = 0; i + 2 < n; ++i) {
            if (i & 1) {
                b.triangle(index(i), index(i + 2), index(i + 1));
            } else {
                b.triangle(index(i), index(i + 1), index(i + 2));
            }
        }
        break;
    case D3DPT_TRIANGLEFAN:
        out->type = D3DPT_TRIANGLELIST;
        for (DWORD i = 1; i + 1 < n; ++i) b.triangle(index(i), index(i + 1), index(0));
        break;
    }
    return false;
}
