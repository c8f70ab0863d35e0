#include "platform/d3d/soft/texture_cache.h"

#include "platform/d3d/core/surface.h"

namespace soft {

void TextureCache::view_of(Surface& surface, TextureView* view)
{
    view->width = static_cast<int>(surface.width());
    view->height = static_cast<int>(surface.height());
    view->alpha_or = pixel_kind_has_alpha(surface.kind()) ? 0u : 0xFF000000u;
    if (pixel_kind_bytes(surface.kind()) == 4) {
        view->texels = reinterpret_cast<const std::uint32_t*>(surface.pixels());
        view->pitch = surface.pitch() / 4;
        return;
    }
    ++clock_;
    Entry* found = nullptr;
    for (Entry& e : entries_) {
        if (e.serial == surface.serial()) found = &e;
    }
    const bool stale = found == nullptr || found->version != surface.content_version() || found->texels.empty();
    if (stale && before_rewrite_ != nullptr) before_rewrite_(hook_context_);
    if (found == nullptr) {
        if (entries_.size() < kMaxEntries) {
            entries_.emplace_back();
            found = &entries_.back();
        } else {
            found = &entries_[0];
            for (Entry& e : entries_) {
                if (e.last_use < found->last_use) found = &e;
            }
        }
        found->serial = surface.serial();
        found->version = 0;
    }
    found->last_use = clock_;
    if (found->version != surface.content_version() || found->texels.empty()) {
        found->texels.resize(static_cast<std::size_t>(surface.width()) * surface.height());
        const DWORD bpp = pixel_kind_bytes(surface.kind());
        for (DWORD y = 0; y < surface.height(); ++y) {
            const BYTE* row = surface.row(y);
            std::uint32_t* out = found->texels.data() + static_cast<std::size_t>(y) * surface.width();
            for (DWORD x = 0; x < surface.width(); ++x) out[x] = pixel_to_argb(surface.kind(), row + x * bpp);
        }
        found->version = surface.content_version();
    }
    view->texels = found->texels.data();
    view->pitch = view->width;
    view->alpha_or = 0;  // widening already set alpha to 0xFF for formats without alpha bits
}

}  // namespace soft
