// GL copies of surfaces. Every surface the backend draws into or samples gets one GL texture (RGBA8 for
// colour kinds, 32-bit float depth for z-buffers), and the cache attaches itself to the surface as its
// SurfaceResidency: it uploads memory when the CPU has written since (content_version), and reads the
// GL copy back before the CPU reads or writes a surface GL has drawn into. Framebuffer objects pair a
// colour target with the depth buffer attached at draw time, so a z-buffer moves between targets as
// the device layer moves it. A surface mirrored by another backend's residency is copied for the one
// draw and written back at once (release_transients drops those copies).
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include <epoxy/gl.h>

#include "platform/d3d/core/surface.h"
#include "platform/d3d/gl/gl_context.h"
#include "platform/d3d/gl/shadow_state.h"

class TextureCache final : public SurfaceResidency {
public:
    TextureCache(GlContext& context, GlShadowState& gl) : context_(context), gl_(gl) {}
    // Reads back everything only GL holds and detaches from every surface. The context must be current.
    ~TextureCache() override;
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // The GL texture of surface, brought up to date with memory. 0 when GL cannot hold it.
    GLuint texture(Surface& surface);
    // A framebuffer drawing into target with depth (may be null) as depth buffer; 0 if incomplete.
    GLuint framebuffer(Surface& target, Surface* depth);
    // A draw or clear went into surface: the GL copy is now the newer one.
    void drawn(Surface& surface);
    // Copies surface's GL content into another GL texture of the same size (to sample a target while
    // drawing into it). Returns the copy, valid until release_transients.
    GLuint snapshot(Surface& surface);
    // Drops the per-draw copies of surfaces mirrored elsewhere.
    void release_transients();
    // Reads back every surface GL is ahead on.
    void sync_all();

    void before_cpu_access(Surface& surface, bool will_write) override;
    void surface_destroyed(Surface& surface) override;

    // Counters for tests.
    std::uint64_t uploads() const { return uploads_; }
    std::uint64_t readbacks() const { return readbacks_; }
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        GLuint texture = 0;
        std::uint64_t synced_version = 0;  // the content version memory and GL last agreed on
        bool gpu_ahead = false;            // GL holds drawing that memory lacks
        bool owned = true;                 // this cache is the surface's residency
    };
    Entry* entry_for(Surface& surface);
    void allocate(Surface& surface, Entry& entry);
    void upload(Surface& surface, Entry& entry);
    void readback(Surface& surface, Entry& entry);
    void destroy(Surface* surface, Entry& entry);

    GlContext& context_;
    GlShadowState& gl_;
    std::unordered_map<Surface*, Entry> entries_;
    std::map<std::pair<GLuint, GLuint>, GLuint> framebuffers_;  // (colour, depth) textures → framebuffer
    std::vector<GLuint> snapshots_;
    std::vector<Surface*> transients_;
    std::vector<std::uint32_t> scratch_;
    std::uint64_t uploads_ = 0;
    std::uint64_t readbacks_ = 0;
};
