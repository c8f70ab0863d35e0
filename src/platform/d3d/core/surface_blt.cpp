// Blt and Flip of the shared surface implementation: colour and depth fills, whole or partial copies
// with point-sampled stretching on 16.16 steps (destination pixel x takes source pixel
// (x · floor(srcW · 65536 / dstW)) >> 16, from 0 with no half-pixel centring, likewise in y), and the
// persistent-back-buffer flip (the front receives a copy; the back buffer keeps its contents).
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/d3d/core/direct_draw.h"
#include "platform/d3d/core/surface.h"

namespace {

bool rect_valid_in(const RECT& r, DWORD width, DWORD height)
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           static_cast<DWORD>(r.right) <= width && static_cast<DWORD>(r.bottom) <= height;
}

RECT whole(const Surface& s)
{
    return RECT{0, 0, static_cast<LONG>(s.width()), static_cast<LONG>(s.height())};
}

}  // namespace

HRESULT Surface::blt_fill(const RECT& dest, DWORD flags, const DDBLTFX* effects)
{
    if (effects == nullptr || effects->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    if (flags & DDBLT_DEPTHFILL) {
        if (!is_zbuffer()) return DDERR_INVALIDPARAMS;
        const DWORD bits = kind_ == PixelKind::Z16 ? 16 : 32;
        const double max = bits == 16 ? 65535.0 : 4294967295.0;
        const DWORD value = bits == 16 ? (effects->dwFillDepth & 0xFFFF) : effects->dwFillDepth;
        fill_depth(dest, static_cast<float>(value / max));
    } else {
        if (is_zbuffer()) return DDERR_INVALIDPARAMS;
        fill_rect(dest, effects->dwFillColor, true);
    }
    return DD_OK;
}

HRESULT Surface::blt_copy(const RECT& dest, Surface& source, const RECT& src)
{
    const bool depth_dest = pixel_kind_is_depth(kind_);
    if (depth_dest != pixel_kind_is_depth(source.kind_)) return DDERR_UNSUPPORTED;
    const DWORD src_w = static_cast<DWORD>(src.right - src.left);
    const DWORD src_h = static_cast<DWORD>(src.bottom - src.top);
    const DWORD dst_w = static_cast<DWORD>(dest.right - dest.left);
    const DWORD dst_h = static_cast<DWORD>(dest.bottom - dest.top);
    const std::uint64_t xinc = (static_cast<std::uint64_t>(src_w) << 16) / dst_w;
    const std::uint64_t yinc = (static_cast<std::uint64_t>(src_h) << 16) / dst_h;
    const DWORD sbpp = pixel_kind_bytes(source.kind_);
    const DWORD dbpp = pixel_kind_bytes(kind_);
    const bool same_kind = source.kind_ == kind_ || depth_dest;

    // A copy within one surface reads from a snapshot so overlapping rectangles behave.
    std::vector<BYTE> snapshot;
    const BYTE* src_base = source.pixels();
    if (&source == this) {
        snapshot.assign(pixels(), pixels() + static_cast<std::size_t>(pitch_) * height_);
        src_base = snapshot.data();
    }
    for (DWORD y = 0; y < dst_h; ++y) {
        const DWORD sy = static_cast<DWORD>((y * yinc) >> 16) + static_cast<DWORD>(src.top);
        const BYTE* srow = src_base + static_cast<std::ptrdiff_t>(sy) * source.pitch_;
        BYTE* drow = row(static_cast<DWORD>(dest.top) + y) + dest.left * dbpp;
        if (same_kind && xinc == (1u << 16)) {
            std::memcpy(drow, srow + src.left * sbpp, static_cast<std::size_t>(dst_w) * dbpp);
            continue;
        }
        for (DWORD x = 0; x < dst_w; ++x) {
            const DWORD sx = static_cast<DWORD>((x * xinc) >> 16) + static_cast<DWORD>(src.left);
            const BYTE* sp = srow + sx * sbpp;
            if (same_kind) {
                std::memcpy(drow + x * dbpp, sp, dbpp);
            } else {
                pixel_from_argb(kind_, pixel_to_argb(source.kind_, sp), drow + x * dbpp);
            }
        }
    }
    return DD_OK;
}

HRESULT Surface::Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags, DDBLTFX* effects)
{
    constexpr DWORD supported = DDBLT_WAIT | DDBLT_ASYNC | DDBLT_DONOTWAIT | DDBLT_COLORFILL | DDBLT_DEPTHFILL;
    if (flags & ~supported) return DDERR_UNSUPPORTED;
    if ((flags & DDBLT_COLORFILL) && (flags & DDBLT_DEPTHFILL)) return DDERR_INVALIDPARAMS;
    if (lost()) return DDERR_SURFACELOST;
    if (lock_count_ > 0) return DDERR_SURFACEBUSY;

    RECT dest = dest_rect != nullptr ? *dest_rect : whole(*this);
    const RECT dest_unclipped = dest;
    if (dest.left >= dest.right || dest.top >= dest.bottom) return DDERR_INVALIDRECT;
    if (!rect_valid_in(dest, width_, height_)) {
        // Only a clipper lets a rectangle reach beyond the surface; it is then trimmed to the surface.
        if (clipper_ == nullptr) return DDERR_INVALIDRECT;
        dest.left = std::max<LONG>(dest.left, 0);
        dest.top = std::max<LONG>(dest.top, 0);
        dest.right = std::min<LONG>(dest.right, static_cast<LONG>(width_));
        dest.bottom = std::min<LONG>(dest.bottom, static_cast<LONG>(height_));
        if (dest.left >= dest.right || dest.top >= dest.bottom) return DD_OK;  // nothing visible
    }

    HRESULT hr;
    if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
        prepare_cpu_access(true);
        hr = blt_fill(dest, flags, effects);
    } else {
        Surface* src = surface_from_interface(source);
        if (src == nullptr) return DDERR_INVALIDPARAMS;
        if (src->lost()) return DDERR_SURFACELOST;
        if (src->lock_count_ > 0) return DDERR_SURFACEBUSY;
        RECT s = source_rect != nullptr ? *source_rect : whole(*src);
        if (!rect_valid_in(s, src->width_, src->height_)) return DDERR_INVALIDRECT;
        if (dest.left != dest_unclipped.left || dest.top != dest_unclipped.top ||
            dest.right != dest_unclipped.right || dest.bottom != dest_unclipped.bottom) {
            // Trim the source by the same proportion as the destination was trimmed.
            const double sx = static_cast<double>(s.right - s.left) / (dest_unclipped.right - dest_unclipped.left);
            const double sy = static_cast<double>(s.bottom - s.top) / (dest_unclipped.bottom - dest_unclipped.top);
            const RECT orig = s;
            s.left = orig.left + static_cast<LONG>((dest.left - dest_unclipped.left) * sx);
            s.top = orig.top + static_cast<LONG>((dest.top - dest_unclipped.top) * sy);
            s.right = orig.left + static_cast<LONG>((dest.right - dest_unclipped.left) * sx);
            s.bottom = orig.top + static_cast<LONG>((dest.bottom - dest_unclipped.top) * sy);
            if (s.right <= s.left) s.right = s.left + 1;
            if (s.bottom <= s.top) s.bottom = s.top + 1;
            s.right = std::min<LONG>(s.right, static_cast<LONG>(src->width_));
            s.bottom = std::min<LONG>(s.bottom, static_cast<LONG>(src->height_));
        }
        src->prepare_cpu_access(false);
        prepare_cpu_access(true);
        hr = blt_copy(dest, *src, s);
    }
    if (SUCCEEDED(hr)) {
        mark_written();
        present_if_primary(dest);
    }
    return hr;
}

HRESULT Surface::Flip(IDirectDrawSurface7* target_override, DWORD)
{
    if (!(caps_ & DDSCAPS_FRONTBUFFER)) return DDERR_NOTFLIPPABLE;
    Surface* back = attached_back_buffer();
    if (back == nullptr) return DDERR_NOTFLIPPABLE;
    if (target_override != nullptr && surface_from_interface(target_override) != back) return DDERR_INVALIDPARAMS;
    if (lost() || back->lost()) return DDERR_SURFACELOST;
    if (lock_count_ > 0 || back->lock_count_ > 0) return DDERR_SURFACEBUSY;
    back->prepare_cpu_access(false);
    prepare_cpu_access(true);
    const std::size_t bytes = static_cast<std::size_t>(pitch_) * height_;
    std::memcpy(pixels(), back->pixels(), bytes);
    mark_written();
    present_if_primary(whole(*this));
    return DD_OK;
}
