#include "platform/d3d/core/surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/d3d/core/direct_draw.h"

namespace {

bool rect_inside(const RECT& r, DWORD width, DWORD height)
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           static_cast<DWORD>(r.right) <= width && static_cast<DWORD>(r.bottom) <= height;
}

}  // namespace

Surface* surface_from_interface(IDirectDrawSurface7* surface)
{
    return surface == nullptr ? nullptr : dynamic_cast<Surface*>(surface);
}

Surface::Surface(DirectDraw* owner, DWORD width, DWORD height, PixelKind kind, DWORD caps, DWORD caps2)
    : owner_(owner), width_(width), height_(height), kind_(kind), caps_(caps), caps2_(caps2)
{
    static std::atomic<std::uint64_t> next_serial{1};
    serial_ = next_serial.fetch_add(1, std::memory_order_relaxed);
    const DWORD row_bytes = width * pixel_kind_bytes(kind);
    pitch_ = static_cast<LONG>((row_bytes + 3u) & ~3u);
    const std::size_t size = static_cast<std::size_t>(pitch_) * height;
    pixels_.reset(new (std::nothrow) BYTE[size]());
    owner_->AddRef();
    owner_->surface_created(this);
    generation_ = owner_->driver().loss_generation();
}

Surface::~Surface()
{
    if (residency_ != nullptr) residency_->surface_destroyed(*this);
    destroy_attachments();
    if (clipper_ != nullptr) clipper_->Release();
    DirectDraw* owner = owner_;
    owner->surface_destroyed(this);
    owner->Release();
}

void Surface::destroy_attachments()
{
    std::vector<Surface*> attached;
    attached.swap(attached_);
    for (Surface* s : attached) {
        s->attached_to_ = nullptr;
        s->Release();
    }
}

bool Surface::lost() const
{
    const bool losable = (caps_ & (DDSCAPS_VIDEOMEMORY | DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER)) != 0 &&
                         (caps_ & DDSCAPS_SYSTEMMEMORY) == 0;
    return losable && owner_->driver().loss_generation() != generation_;
}

Surface* Surface::attached_zbuffer() const
{
    for (Surface* s : attached_) {
        if (s->is_zbuffer()) return s;
    }
    return nullptr;
}

Surface* Surface::attached_back_buffer() const
{
    for (Surface* s : attached_) {
        if (s->caps_ & DDSCAPS_BACKBUFFER) return s;
    }
    return nullptr;
}

HRESULT Surface::AddAttachedSurface(IDirectDrawSurface7* surface)
{
    Surface* s = surface_from_interface(surface);
    if (s == nullptr) return DDERR_INVALIDPARAMS;
    if (s == this || s->owner_ != owner_) return DDERR_CANNOTATTACHSURFACE;
    if (s->attached_to_ != nullptr) return DDERR_SURFACEALREADYATTACHED;
    if (!s->is_zbuffer() || is_zbuffer()) return DDERR_CANNOTATTACHSURFACE;
    if (attached_zbuffer() != nullptr) return DDERR_CANNOTATTACHSURFACE;
    // Equal sizes always; a larger z-buffer only on a texture target, which then uses its top-left part.
    const bool same = s->width_ == width_ && s->height_ == height_;
    const bool larger = s->width_ >= width_ && s->height_ >= height_;
    if (!same && !(larger && is_texture())) return DDERR_CANNOTATTACHSURFACE;
    s->AddRef();
    s->attached_to_ = this;
    attached_.push_back(s);
    return DD_OK;
}

HRESULT Surface::DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface)
{
    if (flags != 0) return DDERR_INVALIDPARAMS;
    if (surface == nullptr) {
        std::vector<Surface*> keep;
        std::vector<Surface*> drop;
        for (Surface* s : attached_) (s->implicit_ ? keep : drop).push_back(s);
        attached_ = keep;
        for (Surface* s : drop) {
            s->attached_to_ = nullptr;
            s->Release();
        }
        return DD_OK;
    }
    Surface* s = surface_from_interface(surface);
    if (s == nullptr) return DDERR_INVALIDPARAMS;
    auto it = std::find(attached_.begin(), attached_.end(), s);
    if (it == attached_.end()) return DDERR_SURFACENOTATTACHED;
    if (s->implicit_) return DDERR_CANNOTDETACHSURFACE;
    attached_.erase(it);
    s->attached_to_ = nullptr;
    s->Release();
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface)
{
    if (caps == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    for (Surface* s : attached_) {
        if ((s->caps_ & caps->dwCaps) == caps->dwCaps && (s->caps2_ & caps->dwCaps2) == caps->dwCaps2) {
            s->AddRef();
            *surface = s;
            return DD_OK;
        }
    }
    return DDERR_NOTFOUND;
}

HRESULT Surface::EnumAttachedSurfaces(void* context, LPDDENUMSURFACESCALLBACK7 callback)
{
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    const std::vector<Surface*> attached = attached_;
    for (Surface* s : attached) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        s->GetSurfaceDesc(&desc);
        s->AddRef();
        if (callback(s, &desc, context) == DDENUMRET_CANCEL) break;
    }
    return DD_OK;
}

HRESULT Surface::GetCaps(DDSCAPS2* caps)
{
    if (caps == nullptr) return DDERR_INVALIDPARAMS;
    *caps = DDSCAPS2{};
    caps->dwCaps = caps_;
    caps->dwCaps2 = caps2_;
    return DD_OK;
}

HRESULT Surface::GetClipper(IDirectDrawClipper** clipper)
{
    if (clipper == nullptr) return DDERR_INVALIDPARAMS;
    *clipper = clipper_;
    if (clipper_ == nullptr) return DDERR_NOCLIPPERATTACHED;
    clipper_->AddRef();
    return DD_OK;
}

HRESULT Surface::SetClipper(IDirectDrawClipper* clipper)
{
    if (clipper == clipper_) return DD_OK;
    if (clipper != nullptr) clipper->AddRef();
    if (clipper_ != nullptr) clipper_->Release();
    clipper_ = clipper;
    return DD_OK;
}

HRESULT Surface::GetDDInterface(void** direct_draw)
{
    if (direct_draw == nullptr) return DDERR_INVALIDPARAMS;
    owner_->AddRef();
    *direct_draw = static_cast<IDirectDraw7*>(owner_);
    return DD_OK;
}

HRESULT Surface::GetPixelFormat(DDPIXELFORMAT* format)
{
    if (format == nullptr) return DDERR_INVALIDPARAMS;
    *format = pixel_format_of(kind_);
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    if (desc == nullptr || !surface_desc_size_ok(desc)) return DDERR_INVALIDPARAMS;
    const DWORD size = desc->dwSize;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = size;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = width_;
    desc->dwHeight = height_;
    desc->lPitch = pitch_;
    desc->ddpfPixelFormat = pixel_format_of(kind_);
    desc->ddsCaps.dwCaps = caps_;
    desc->ddsCaps.dwCaps2 = caps2_;
    if (Surface* back = attached_back_buffer(); back != nullptr && (caps_ & DDSCAPS_FRONTBUFFER)) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    if (is_zbuffer()) {
        desc->dwFlags |= DDSD_ZBUFFERBITDEPTH;
        desc->dwMipMapCount = desc->ddpfPixelFormat.dwZBufferBitDepth;
    }
    return DD_OK;
}

HRESULT Surface::IsLost()
{
    return lost() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE)
{
    if (desc == nullptr || !surface_desc_size_ok(desc)) return DDERR_INVALIDPARAMS;
    if (rect != nullptr && !rect_inside(*rect, width_, height_)) return DDERR_INVALIDPARAMS;
    if (lost()) return DDERR_SURFACELOST;
    if (lock_count_ > 0) return DDERR_SURFACEBUSY;
    prepare_cpu_access((flags & DDLOCK_READONLY) == 0);
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    BYTE* base = pixels_.get();
    if (rect != nullptr) {
        base += static_cast<std::ptrdiff_t>(rect->top) * pitch_ + rect->left * static_cast<LONG>(pixel_kind_bytes(kind_));
    }
    desc->lpSurface = base;
    ++lock_count_;
    lock_read_only_ = (flags & DDLOCK_READONLY) != 0;
    lock_rect_ = rect != nullptr ? *rect : RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    return DD_OK;
}

HRESULT Surface::Unlock(RECT*)
{
    if (lock_count_ == 0) return DDERR_NOTLOCKED;
    --lock_count_;
    if (!lock_read_only_) {
        mark_written();
        present_if_primary(lock_rect_);
    }
    return DD_OK;
}

HRESULT Surface::Restore()
{
    if (!lost()) return DD_OK;
    if (owner_->exclusive() && owner_->driver().test_cooperative_level() != DD_OK) return DDERR_WRONGMODE;
    generation_ = owner_->driver().loss_generation();
    for (Surface* s : attached_) {
        if (s->implicit_) s->generation_ = generation_;
    }
    return DD_OK;
}

void Surface::prepare_cpu_access(bool will_write)
{
    if (residency_ != nullptr) residency_->before_cpu_access(*this, will_write);
}

std::uint32_t Surface::read_argb(DWORD x, DWORD y) const
{
    if (x >= width_ || y >= height_) return 0;
    return pixel_to_argb(kind_, row(y) + x * pixel_kind_bytes(kind_));
}

float Surface::read_depth(DWORD x, DWORD y) const
{
    if (x >= width_ || y >= height_ || !pixel_kind_is_depth(kind_)) return 0.0f;
    float d;
    std::memcpy(&d, row(y) + x * 4u, 4);
    return d;
}

namespace {

// Fills n values from p, 32 bytes per store where it can (a plain loop stays scalar at -O2, and the
// software device clears every tile of every frame).
template <typename T>
void fill_run(T* p, std::size_t n, T value)
{
    constexpr std::size_t kBlock = 32 / sizeof(T);
    T block[kBlock];
    for (T& b : block) b = value;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) std::memcpy(p + i, block, sizeof(block));
    for (; i < n; ++i) p[i] = value;
}

}  // namespace

void Surface::fill_rect(const RECT& rect, std::uint32_t value, bool raw_bits)
{
    const std::uint32_t bits = raw_bits ? value : pixel_pack_argb(kind_, value);
    const DWORD bpp = pixel_kind_bytes(kind_);
    const std::size_t count = static_cast<std::size_t>(rect.right - rect.left);
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        BYTE* p = row(static_cast<DWORD>(y)) + rect.left * bpp;
        if (bpp == 4) {
            fill_run(reinterpret_cast<std::uint32_t*>(p), count, bits);
        } else {
            fill_run(reinterpret_cast<std::uint16_t*>(p), count, static_cast<std::uint16_t>(bits));
        }
    }
}

void Surface::fill_depth(const RECT& rect, float depth)
{
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        fill_run(reinterpret_cast<float*>(row(static_cast<DWORD>(y))) + rect.left,
                 static_cast<std::size_t>(rect.right - rect.left), depth);
    }
}

void Surface::present_if_primary(const RECT& dirty)
{
    if (owner_->primary() != this) return;
    PresentImage image;
    image.pixels = pixels_.get();
    image.pitch = pitch_;
    image.width = width_;
    image.height = height_;
    image.format = pixel_format_of(kind_);
    owner_->driver().present(image, dirty);
}
