#include "platform/d3d/gl/texture_cache.h"

#include "platform/d3d/gl/pixel_transfer.h"
#include "platform/debug_output.h"

TextureCache::~TextureCache()
{
    release_transients();
    for (auto& [surface, entry] : entries_) {
        if (entry.gpu_ahead) readback(*surface, entry);
        if (surface->residency() == this) surface->set_residency(nullptr);
        gl_.forget_texture(entry.texture);
        glDeleteTextures(1, &entry.texture);
    }
    entries_.clear();
    for (auto& [key, fbo] : framebuffers_) {
        gl_.forget_framebuffer(fbo);
        glDeleteFramebuffers(1, &fbo);
    }
}

TextureCache::Entry* TextureCache::entry_for(Surface& surface)
{
    auto it = entries_.find(&surface);
    if (it != entries_.end()) return &it->second;
    Entry entry;
    if (surface.residency() != nullptr && surface.residency() != this) {
        entry.owned = false;
        transients_.push_back(&surface);
    }
    allocate(surface, entry);
    if (entry.texture == 0) return nullptr;
    if (entry.owned) surface.set_residency(this);
    return &entries_.emplace(&surface, entry).first->second;
}

void TextureCache::allocate(Surface& surface, Entry& entry)
{
    glGenTextures(1, &entry.texture);
    gl_.edit_texture(entry.texture);
    const auto w = static_cast<GLsizei>(surface.width());
    const auto h = static_cast<GLsizei>(surface.height());
    if (pixel_kind_is_depth(surface.kind())) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT32F, w, h, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        // A texture without alpha bits gives alpha 1 to the stages.
        if (!pixel_kind_has_alpha(surface.kind())) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    if (glGetError() != GL_NO_ERROR) {
        debug_output_format("OpenGL device: cannot hold a %ux%u surface\n", surface.width(), surface.height());
        glDeleteTextures(1, &entry.texture);
        entry.texture = 0;
        return;
    }
    entry.synced_version = 0;  // nothing uploaded yet
}

GLuint TextureCache::texture(Surface& surface)
{
    Entry* entry = entry_for(surface);
    if (entry == nullptr) return 0;
    if (!entry->owned) {
        surface.prepare_cpu_access(false);  // the other backend writes its copy back (on its own context)
        context_.make_current();
    }
    if (entry->gpu_ahead) {
        // Memory can only have changed after before_cpu_access read GL back; the versions that advanced
        // meanwhile are our own draws.
        entry->synced_version = surface.content_version();
    } else if (entry->synced_version != surface.content_version()) {
        upload(surface, *entry);
    }
    return entry->texture;
}

void TextureCache::upload(Surface& surface, Entry& entry)
{
    gl_.edit_texture(entry.texture);
    const auto w = static_cast<GLsizei>(surface.width());
    const auto h = static_cast<GLsizei>(surface.height());
    if (pixel_kind_is_depth(surface.kind())) {
        gl_.pixel_store(GL_UNPACK_ALIGNMENT, 4);
        gl_.pixel_store(GL_UNPACK_ROW_LENGTH, surface.pitch() / 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_DEPTH_COMPONENT, GL_FLOAT, surface.pixels());
    } else if (surface.kind() == PixelKind::A8R8G8B8) {
        gl_.pixel_store(GL_UNPACK_ALIGNMENT, 4);
        gl_.pixel_store(GL_UNPACK_ROW_LENGTH, surface.pitch() / 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, surface.pixels());
    } else {
        scratch_.resize(static_cast<std::size_t>(w) * h);
        pixel_rows_to_argb(surface.kind(), surface.pixels(), surface.pitch(), surface.width(), surface.height(),
                           scratch_.data());
        gl_.pixel_store(GL_UNPACK_ALIGNMENT, 4);
        gl_.pixel_store(GL_UNPACK_ROW_LENGTH, 0);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, scratch_.data());
    }
    entry.synced_version = surface.content_version();
    ++uploads_;
}

void TextureCache::readback(Surface& surface, Entry& entry)
{
    gl_.edit_texture(entry.texture);
    const DWORD w = surface.width(), h = surface.height();
    gl_.pixel_store(GL_PACK_ALIGNMENT, 4);
    if (pixel_kind_is_depth(surface.kind())) {
        gl_.pixel_store(GL_PACK_ROW_LENGTH, surface.pitch() / 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, surface.pixels());
    } else if (pixel_kind_bytes(surface.kind()) == 4) {
        gl_.pixel_store(GL_PACK_ROW_LENGTH, surface.pitch() / 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, surface.pixels());
        if (surface.kind() == PixelKind::X8R8G8B8) pixel_rows_clear_x8(surface.pixels(), surface.pitch(), w, h);
    } else {
        scratch_.resize(static_cast<std::size_t>(w) * h);
        gl_.pixel_store(GL_PACK_ROW_LENGTH, 0);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, scratch_.data());
        pixel_rows_from_argb(surface.kind(), scratch_.data(), w, h, surface.pixels(), surface.pitch());
        // The surface now holds the packed (narrower) colours; GL keeps the wider ones it drew, as a
        // 16-bit target on the platform would have kept them between draws only in its own precision.
    }
    entry.gpu_ahead = false;
    entry.synced_version = surface.content_version();
    ++readbacks_;
}

GLuint TextureCache::framebuffer(Surface& target, Surface* depth)
{
    const GLuint colour = texture(target);
    const GLuint depth_texture = depth != nullptr ? texture(*depth) : 0;
    if (colour == 0 || (depth != nullptr && depth_texture == 0)) return 0;
    const auto key = std::make_pair(colour, depth_texture);
    auto it = framebuffers_.find(key);
    if (it != framebuffers_.end()) return it->second;
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    gl_.bind_draw_framebuffer(fbo);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    if (depth_texture != 0) glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth_texture, 0);
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        debug_output_format("OpenGL device: the framebuffer for a %ux%u target is incomplete\n", target.width(),
                            target.height());
        gl_.bind_draw_framebuffer(0);
        gl_.forget_framebuffer(fbo);
        glDeleteFramebuffers(1, &fbo);
        return 0;
    }
    framebuffers_.emplace(key, fbo);
    return fbo;
}

void TextureCache::drawn(Surface& surface)
{
    auto it = entries_.find(&surface);
    if (it == entries_.end()) return;
    it->second.gpu_ahead = true;
    if (!it->second.owned) readback(surface, it->second);  // nobody would ask us for it later
}

GLuint TextureCache::snapshot(Surface& surface)
{
    const GLuint source = texture(surface);
    if (source == 0) return 0;
    GLuint copy = 0;
    glGenTextures(1, &copy);
    gl_.edit_texture(copy);
    const auto w = static_cast<GLsizei>(surface.width());
    const auto h = static_cast<GLsizei>(surface.height());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    if (!pixel_kind_has_alpha(surface.kind())) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    const GLuint read = framebuffer(surface, nullptr);
    if (read == 0) {
        gl_.forget_texture(copy);
        glDeleteTextures(1, &copy);
        return 0;
    }
    gl_.bind_read_framebuffer(read);
    gl_.edit_texture(copy);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
    snapshots_.push_back(copy);
    return copy;
}

void TextureCache::release_transients()
{
    for (GLuint copy : snapshots_) {
        gl_.forget_texture(copy);
        glDeleteTextures(1, &copy);
    }
    snapshots_.clear();
    for (Surface* surface : transients_) {
        auto it = entries_.find(surface);
        if (it != entries_.end()) {
            destroy(surface, it->second);
            entries_.erase(it);
        }
    }
    transients_.clear();
}

void TextureCache::sync_all()
{
    for (auto& [surface, entry] : entries_) {
        if (entry.gpu_ahead) readback(*surface, entry);
    }
}

void TextureCache::before_cpu_access(Surface& surface, bool)
{
    auto it = entries_.find(&surface);
    if (it == entries_.end() || !it->second.gpu_ahead) return;
    if (!context_.make_current()) {
        debug_output_format("OpenGL device: cannot read back a %ux%u surface (no context)\n", surface.width(),
                            surface.height());
        return;
    }
    readback(surface, it->second);
    // After a CPU write the surface's version moves on, and the next use uploads.
}

void TextureCache::surface_destroyed(Surface& surface)
{
    auto it = entries_.find(&surface);
    if (it == entries_.end()) return;
    if (context_.make_current()) destroy(&surface, it->second);
    entries_.erase(it);
}

void TextureCache::destroy(Surface*, Entry& entry)
{
    for (auto it = framebuffers_.begin(); it != framebuffers_.end();) {
        if (it->first.first == entry.texture || it->first.second == entry.texture) {
            gl_.forget_framebuffer(it->second);
            glDeleteFramebuffers(1, &it->second);
            it = framebuffers_.erase(it);
        } else {
            ++it;
        }
    }
    gl_.forget_texture(entry.texture);
    glDeleteTextures(1, &entry.texture);
    entry.texture = 0;
}
