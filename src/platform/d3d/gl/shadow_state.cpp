#include "platform/d3d/gl/shadow_state.h"

namespace {

GLenum cap_enum(GlShadowState::Cap cap)
{
    switch (cap) {
    case GlShadowState::CAP_BLEND: return GL_BLEND;
    case GlShadowState::CAP_DEPTH_TEST: return GL_DEPTH_TEST;
    case GlShadowState::CAP_CULL_FACE: return GL_CULL_FACE;
    case GlShadowState::CAP_SCISSOR_TEST: return GL_SCISSOR_TEST;
    case GlShadowState::CAP_DEPTH_CLAMP: return GL_DEPTH_CLAMP;
    case GlShadowState::CAP_CLIP_DISTANCE0: return GL_CLIP_DISTANCE0;
    case GlShadowState::CAP_COUNT: break;
    }
    // Clip distances 1–7 follow CAP_CLIP_DISTANCE0 in both numberings.
    return GL_CLIP_DISTANCE0 + (static_cast<unsigned>(cap) - GlShadowState::CAP_CLIP_DISTANCE0);
}

}  // namespace

template <typename T>
bool GlShadowState::changes(T& slot, bool& known, const T& value)
{
    if (known && slot == value) {
        ++skipped_;
        return false;
    }
    slot = value;
    known = true;
    ++made_;
    return true;
}

void GlShadowState::invalidate()
{
    cap_known_.fill(false);
    blend_known_ = depth_func_known_ = depth_mask_known_ = color_mask_known_ = false;
    cull_face_known_ = front_face_known_ = polygon_mode_known_ = provoking_known_ = false;
    viewport_known_ = scissor_known_ = program_known_ = vertex_array_known_ = false;
    array_buffer_known_ = uniform_buffer_known_ = draw_fbo_known_ = read_fbo_known_ = false;
    active_unit_known_ = false;
    textures_known_.fill(false);
    samplers_known_.fill(false);
    pixel_store_known_.fill(false);
}

void GlShadowState::enable(Cap cap, bool on)
{
    if (cap >= CAP_COUNT) return;
    bool known = cap_known_[cap];
    bool value = cap_[cap];
    if (!changes(value, known, on)) return;
    cap_[cap] = value;
    cap_known_[cap] = true;
    if (on) {
        glEnable(cap_enum(cap));
    } else {
        glDisable(cap_enum(cap));
    }
}

void GlShadowState::clip_distances(unsigned count)
{
    for (unsigned i = 0; i < 8; ++i) enable(static_cast<Cap>(CAP_CLIP_DISTANCE0 + i), i < count);
}

void GlShadowState::blend_func(GLenum source, GLenum destination)
{
    if (changes(blend_, blend_known_, std::array<GLenum, 2>{source, destination})) glBlendFunc(source, destination);
}

void GlShadowState::depth_func(GLenum func)
{
    if (changes(depth_func_, depth_func_known_, func)) glDepthFunc(func);
}

void GlShadowState::depth_mask(bool write)
{
    if (changes(depth_mask_, depth_mask_known_, write)) glDepthMask(write ? GL_TRUE : GL_FALSE);
}

void GlShadowState::color_mask(bool red, bool green, bool blue, bool alpha)
{
    if (changes(color_mask_, color_mask_known_, std::array<bool, 4>{red, green, blue, alpha})) {
        glColorMask(red ? GL_TRUE : GL_FALSE, green ? GL_TRUE : GL_FALSE, blue ? GL_TRUE : GL_FALSE,
                    alpha ? GL_TRUE : GL_FALSE);
    }
}

void GlShadowState::cull_face(GLenum face)
{
    if (changes(cull_face_, cull_face_known_, face)) glCullFace(face);
}

void GlShadowState::front_face(GLenum mode)
{
    if (changes(front_face_, front_face_known_, mode)) glFrontFace(mode);
}

void GlShadowState::polygon_mode(GLenum mode)
{
    if (changes(polygon_mode_, polygon_mode_known_, mode)) glPolygonMode(GL_FRONT_AND_BACK, mode);
}

void GlShadowState::provoking_vertex(GLenum mode)
{
    if (changes(provoking_, provoking_known_, mode)) glProvokingVertex(mode);
}

void GlShadowState::viewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (changes(viewport_, viewport_known_, std::array<GLint, 4>{x, y, width, height})) glViewport(x, y, width, height);
}

void GlShadowState::scissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (changes(scissor_, scissor_known_, std::array<GLint, 4>{x, y, width, height})) glScissor(x, y, width, height);
}

void GlShadowState::use_program(GLuint program)
{
    if (changes(program_, program_known_, program)) glUseProgram(program);
}

void GlShadowState::bind_vertex_array(GLuint array)
{
    if (changes(vertex_array_, vertex_array_known_, array)) glBindVertexArray(array);
}

void GlShadowState::bind_array_buffer(GLuint buffer)
{
    if (changes(array_buffer_, array_buffer_known_, buffer)) glBindBuffer(GL_ARRAY_BUFFER, buffer);
}

void GlShadowState::bind_uniform_buffer(GLuint index, GLuint buffer)
{
    // One uniform block binding point is used; the generic binding follows glBindBufferBase.
    if (changes(uniform_buffer_, uniform_buffer_known_, buffer)) glBindBufferBase(GL_UNIFORM_BUFFER, index, buffer);
}

void GlShadowState::bind_draw_framebuffer(GLuint framebuffer)
{
    if (changes(draw_fbo_, draw_fbo_known_, framebuffer)) glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
}

void GlShadowState::bind_read_framebuffer(GLuint framebuffer)
{
    if (changes(read_fbo_, read_fbo_known_, framebuffer)) glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
}

void GlShadowState::bind_texture(unsigned unit, GLuint texture)
{
    if (unit >= kTextureUnits) return;
    bool known = textures_known_[unit];
    GLuint value = textures_[unit];
    if (!changes(value, known, texture)) return;
    textures_[unit] = value;
    textures_known_[unit] = true;
    if (changes(active_unit_, active_unit_known_, unit)) glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void GlShadowState::edit_texture(GLuint texture)
{
    bind_texture(kEditUnit, texture);
    if (changes(active_unit_, active_unit_known_, kEditUnit)) glActiveTexture(GL_TEXTURE0 + kEditUnit);
}

void GlShadowState::bind_sampler(unsigned unit, GLuint sampler)
{
    if (unit >= kTextureUnits) return;
    bool known = samplers_known_[unit];
    GLuint value = samplers_[unit];
    if (!changes(value, known, sampler)) return;
    samplers_[unit] = value;
    samplers_known_[unit] = true;
    glBindSampler(unit, sampler);
}

void GlShadowState::pixel_store(GLenum name, GLint value)
{
    unsigned slot;
    switch (name) {
    case GL_PACK_ROW_LENGTH: slot = 0; break;
    case GL_PACK_ALIGNMENT: slot = 1; break;
    case GL_UNPACK_ROW_LENGTH: slot = 2; break;
    case GL_UNPACK_ALIGNMENT: slot = 3; break;
    default: glPixelStorei(name, value); return;
    }
    bool known = pixel_store_known_[slot];
    GLint current = pixel_store_[slot];
    if (!changes(current, known, value)) return;
    pixel_store_[slot] = current;
    pixel_store_known_[slot] = true;
    glPixelStorei(name, value);
}

void GlShadowState::forget_texture(GLuint texture)
{
    for (unsigned i = 0; i < kTextureUnits; ++i) {
        if (textures_known_[i] && textures_[i] == texture) textures_[i] = 0;
    }
}

void GlShadowState::forget_framebuffer(GLuint framebuffer)
{
    if (draw_fbo_known_ && draw_fbo_ == framebuffer) draw_fbo_ = 0;
    if (read_fbo_known_ && read_fbo_ == framebuffer) read_fbo_ = 0;
}

void GlShadowState::forget_program(GLuint program)
{
    // A deleted program stays in use until another is chosen; make sure the next choice reaches GL.
    if (program_known_ && program_ == program) program_known_ = false;
}
