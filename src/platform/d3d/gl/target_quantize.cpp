#include "platform/d3d/gl/target_quantize.h"

#include <algorithm>

#include "platform/d3d/gl/shader_cache.h"
#include "platform/debug_output.h"

bool quantize_needed(PixelKind kind)
{
    return !pixel_kind_is_depth(kind) && pixel_kind_bytes(kind) == 2;
}

void quantize_bits(PixelKind kind, int bits[4])
{
    switch (kind) {
    case PixelKind::R5G6B5: bits[0] = 5; bits[1] = 6; bits[2] = 5; bits[3] = 0; return;
    case PixelKind::X1R5G5B5: bits[0] = 5; bits[1] = 5; bits[2] = 5; bits[3] = 0; return;
    case PixelKind::A1R5G5B5: bits[0] = 5; bits[1] = 5; bits[2] = 5; bits[3] = 1; return;
    case PixelKind::A4R4G4B4: bits[0] = 4; bits[1] = 4; bits[2] = 4; bits[3] = 4; return;
    case PixelKind::X8R8G8B8: bits[0] = 8; bits[1] = 8; bits[2] = 8; bits[3] = 0; return;
    case PixelKind::A8R8G8B8: bits[0] = 8; bits[1] = 8; bits[2] = 8; bits[3] = 8; return;
    case PixelKind::Z16:
    case PixelKind::Z32: break;
    }
    bits[0] = bits[1] = bits[2] = 8;
    bits[3] = 0;
}

std::string quantize_glsl(PixelKind kind)
{
    int bits[4];
    quantize_bits(kind, bits);
    auto channel = [](int b) -> std::string {
        if (b == 0) return "1.0";
        if (b >= 8) return "float(v.X) / 255.0";
        if (b == 1) return "float(v.X >= 128 ? 255 : 0) / 255.0";
        const std::string shift = std::to_string(8 - b), back = std::to_string(2 * b - 8);
        // Targets have 4, 5 or 6 bits here: the top bits repeat below the truncated value.
        const std::string widen = "((v.X >> " + shift + ") << " + shift + ") | ((v.X >> " + shift + ") >> " + back + ")";
        return "float(" + widen + ") / 255.0";
    };
    std::string s = "vec4 quantize(vec4 c) {\n    ivec4 v = ivec4(floor(clamp(c, 0.0, 1.0) * 255.0 + 0.5));\n    return vec4(";
    const char* names[4] = {"r", "g", "b", "a"};
    for (int i = 0; i < 4; ++i) {
        std::string e = channel(bits[i]);
        for (std::size_t p; (p = e.find("v.X")) != std::string::npos;) e.replace(p, 3, std::string("v.") + names[i]);
        s += e + (i < 3 ? ", " : "");
    }
    s += ");\n}\n";
    return s;
}

std::uint32_t quantize_argb(PixelKind kind, std::uint32_t argb)
{
    if (!quantize_needed(kind)) return argb;
    BYTE packed[4] = {};
    pixel_from_argb(kind, argb, packed);
    std::uint32_t widened = pixel_to_argb(kind, packed);
    if (!pixel_kind_has_alpha(kind)) widened |= 0xFF000000u;
    return widened;
}

TargetQuantizer::~TargetQuantizer()
{
    for (GLuint p : programs_) {
        if (p != 0) {
            gl_.forget_program(p);
            glDeleteProgram(p);
        }
    }
    if (scratch_fbo_ != 0) {
        gl_.forget_framebuffer(scratch_fbo_);
        glDeleteFramebuffers(1, &scratch_fbo_);
    }
    if (scratch_ != 0) {
        gl_.forget_texture(scratch_);
        glDeleteTextures(1, &scratch_);
    }
    if (empty_array_ != 0) glDeleteVertexArrays(1, &empty_array_);
}

GLuint TargetQuantizer::program_for(PixelKind kind)
{
    GLuint& program = programs_[static_cast<unsigned>(kind) & 7];
    if (program != 0) return program;
    // A full-viewport triangle; each pixel reads its own texel of the copy.
    const std::string vertex = "#version 330 core\nvoid main() {\n"
                               "    vec2 p = vec2(float((gl_VertexID & 1) * 4 - 1), float((gl_VertexID & 2) * 2 - 1));\n"
                               "    gl_Position = vec4(p, 0.0, 1.0);\n}\n";
    const std::string fragment = "#version 330 core\nuniform sampler2D source;\nuniform ivec2 origin;\nout vec4 frag_color;\n" +
                                 quantize_glsl(kind) +
                                 "void main() {\n    frag_color = quantize(texelFetch(source, ivec2(gl_FragCoord.xy) - origin, 0));\n}\n";
    std::string error;
    program = shader_compile_program(vertex, fragment, &error);
    if (program == 0) debug_output_format("OpenGL device: the 16-bit target pass does not compile: %s\n", error.c_str());
    return program;
}

void TargetQuantizer::run(Surface& target, GLuint fbo, int x0, int y0, int x1, int y1)
{
    if (x0 >= x1 || y0 >= y1 || !quantize_needed(target.kind())) return;
    const GLuint program = program_for(target.kind());
    if (program == 0) return;
    const int w = x1 - x0, h = y1 - y0;
    if (scratch_ == 0 || w > scratch_width_ || h > scratch_height_) {
        if (scratch_ == 0) glGenTextures(1, &scratch_);
        scratch_width_ = std::max(w, scratch_width_);
        scratch_height_ = std::max(h, scratch_height_);
        gl_.edit_texture(scratch_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, scratch_width_, scratch_height_, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    if (empty_array_ == 0) glGenVertexArrays(1, &empty_array_);
    // Copy the rectangle out, then draw it back narrowed.
    gl_.bind_read_framebuffer(fbo);
    gl_.edit_texture(scratch_);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x0, y0, w, h);
    gl_.bind_draw_framebuffer(fbo);
    gl_.use_program(program);
    glUniform2i(glGetUniformLocation(program, "origin"), x0, y0);
    glUniform1i(glGetUniformLocation(program, "source"), static_cast<GLint>(GlShadowState::kEditUnit));
    gl_.bind_sampler(GlShadowState::kEditUnit, 0);
    gl_.viewport(x0, y0, w, h);
    gl_.enable(GlShadowState::CAP_SCISSOR_TEST, false);
    gl_.enable(GlShadowState::CAP_BLEND, false);
    gl_.enable(GlShadowState::CAP_DEPTH_TEST, false);
    gl_.enable(GlShadowState::CAP_CULL_FACE, false);
    gl_.clip_distances(0);
    gl_.polygon_mode(GL_FILL);
    gl_.color_mask(true, true, true, pixel_kind_has_alpha(target.kind()));
    gl_.bind_vertex_array(empty_array_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}
