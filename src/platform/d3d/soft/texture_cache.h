// Texture views for the pixel loops. 32-bit textures are read where they lie; textures in 16-bit
// formats are widened once to 0xAARRGGBB and kept until their surface's contents change (the surface's
// serial number and content version name the copy). Kept copies are bounded in number, oldest dropped.
// A copy is only rewritten after the owner's before-rewrite hook has run, so work queued against the
// old copy is drawn first.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/soft/draw_constants.h"

class Surface;

namespace soft {

class TextureCache {
public:
    // Fills texels, pitch, size and alpha_or of view for surface.
    void view_of(Surface& surface, TextureView* view);
    // Called (with context) before a kept copy is overwritten.
    void set_before_rewrite(void (*hook)(void* context), void* context)
    {
        before_rewrite_ = hook;
        hook_context_ = context;
    }

private:
    struct Entry {
        std::uint64_t serial = 0;
        std::uint64_t version = 0;
        std::uint64_t last_use = 0;
        std::vector<std::uint32_t> texels;
    };
    std::vector<Entry> entries_;
    std::uint64_t clock_ = 0;
    void (*before_rewrite_)(void*) = nullptr;
    void* hook_context_ = nullptr;
    static constexpr std::size_t kMaxEntries = 64;
};

}  // namespace soft
