// The one place that changes OpenGL pipeline state. Every capability switch, blend, depth, cull,
// polygon, mask, viewport, scissor, program, vertex-array, framebuffer, texture and sampler binding of
// the backend goes through this record, which remembers what the context holds and skips calls that
// would change nothing. Nothing else in the backend calls glEnable, glBlendFunc, glDepthFunc and friends.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <cstdint>

class GlShadowState {
public:
    // Capabilities the backend switches.
    enum Cap : unsigned {
        CAP_BLEND,
        CAP_DEPTH_TEST,
        CAP_CULL_FACE,
        CAP_SCISSOR_TEST,
        CAP_DEPTH_CLAMP,
        CAP_CLIP_DISTANCE0,  // CAP_CLIP_DISTANCE0 + i for clip distance i (0–7)
        CAP_COUNT = CAP_CLIP_DISTANCE0 + 8,
    };

    // Forgets everything: the next request of each kind reaches GL. Call after foreign code used the context.
    void invalidate();

    void enable(Cap cap, bool on);
    // Enables clip distances 0..count-1 and disables the rest.
    void clip_distances(unsigned count);
    void blend_func(GLenum source, GLenum destination);
    void depth_func(GLenum func);
    void depth_mask(bool write);
    void color_mask(bool red, bool green, bool blue, bool alpha);
    void cull_face(GLenum face);
    void front_face(GLenum mode);
    void polygon_mode(GLenum mode);
    void provoking_vertex(GLenum mode);
    void viewport(GLint x, GLint y, GLsizei width, GLsizei height);
    void scissor(GLint x, GLint y, GLsizei width, GLsizei height);
    void use_program(GLuint program);
    void bind_vertex_array(GLuint array);
    void bind_array_buffer(GLuint buffer);
    void bind_uniform_buffer(GLuint index, GLuint buffer);
    void bind_draw_framebuffer(GLuint framebuffer);
    void bind_read_framebuffer(GLuint framebuffer);
    void bind_texture(unsigned unit, GLuint texture);
    void bind_sampler(unsigned unit, GLuint sampler);
    // Binds texture on the unit kept for uploads and parameter changes and makes that unit active, so
    // that the following glTex* call reaches it.
    void edit_texture(GLuint texture);
    void pixel_store(GLenum name, GLint value);  // GL_(UN)PACK_ROW_LENGTH and GL_(UN)PACK_ALIGNMENT

    // Objects about to be deleted: any binding of them is forgotten (GL unbinds them itself).
    void forget_texture(GLuint texture);
    void forget_framebuffer(GLuint framebuffer);
    void forget_program(GLuint program);

    // Number of GL calls made and skipped since construction (for tests of the filtering).
    std::uint64_t calls_made() const { return made_; }
    std::uint64_t calls_skipped() const { return skipped_; }

    static constexpr unsigned kTextureUnits = 16;
    static constexpr unsigned kEditUnit = kTextureUnits - 1;

private:
    template <typename T>
    bool changes(T& slot, bool& known, const T& value);

    std::uint64_t made_ = 0;
    std::uint64_t skipped_ = 0;

    std::array<bool, CAP_COUNT> cap_{};
    std::array<bool, CAP_COUNT> cap_known_{};
    std::array<GLenum, 2> blend_{};
    bool blend_known_ = false;
    GLenum depth_func_ = 0;
    bool depth_func_known_ = false;
    bool depth_mask_ = false;
    bool depth_mask_known_ = false;
    std::array<bool, 4> color_mask_{};
    bool color_mask_known_ = false;
    GLenum cull_face_ = 0;
    bool cull_face_known_ = false;
    GLenum front_face_ = 0;
    bool front_face_known_ = false;
    GLenum polygon_mode_ = 0;
    bool polygon_mode_known_ = false;
    GLenum provoking_ = 0;
    bool provoking_known_ = false;
    std::array<GLint, 4> viewport_{};
    bool viewport_known_ = false;
    std::array<GLint, 4> scissor_{};
    bool scissor_known_ = false;
    GLuint program_ = 0;
    bool program_known_ = false;
    GLuint vertex_array_ = 0;
    bool vertex_array_known_ = false;
    GLuint array_buffer_ = 0;
    bool array_buffer_known_ = false;
    GLuint uniform_buffer_ = 0;
    bool uniform_buffer_known_ = false;
    GLuint draw_fbo_ = 0;
    bool draw_fbo_known_ = false;
    GLuint read_fbo_ = 0;
    bool read_fbo_known_ = false;
    unsigned active_unit_ = 0;
    bool active_unit_known_ = false;
    std::array<GLuint, kTextureUnits> textures_{};
    std::array<bool, kTextureUnits> textures_known_{};
    std::array<GLuint, kTextureUnits> samplers_{};
    std::array<bool, kTextureUnits> samplers_known_{};
    std::array<GLint, 4> pixel_store_{};  // pack row length, pack alignment, unpack row length, unpack alignment
    std::array<bool, 4> pixel_store_known_{};
};
