#include "platform/d3d/gl/pixel_shift.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <string>

#include "platform/d3d/gl/shader_cache.h"

namespace {

// The device's quad from (2, 2) to (5, 5) covers pixels 2..4 in both directions: left and top edges
// on centres belong to it, right and bottom edges do not.
constexpr int kProbeSize = 8;
constexpr int kQuadFrom = 2;
constexpr int kQuadTo = 5;

}  // namespace

bool pixel_shift_coverage_matches(const unsigned char (&covered)[8][8])
{
    for (int y = 0; y < kProbeSize; ++y) {
        for (int x = 0; x < kProbeSize; ++x) {
            const bool inside = x >= kQuadFrom && x < kQuadTo && y >= kQuadFrom && y < kQuadTo;
            if ((covered[y][x] != 0) != inside) return false;
        }
    }
    return true;
}

std::string pixel_shift_override()
{
    const char* value = std::getenv("VIRELINE_GL_PIXEL_SHIFT");
    return value != nullptr ? value : "";
}

float pixel_shift_probe(GlShadowState& gl)
{
    if (pixel_shift_override() == "biased") return GL_PIXEL_SHIFT_BIASED;
    const std::string vertex =
        "#version 330 core\nuniform float shift;\nvoid main() {\n"
        "    vec2 corner = vec2(float(gl_VertexID & 1), float((gl_VertexID >> 1) & 1));\n"
        "    vec2 device = mix(vec2(" + std::to_string(kQuadFrom) + ".0), vec2(" + std::to_string(kQuadTo) + ".0), corner);\n"
        "    gl_Position = vec4((device + shift) * (2.0 / " + std::to_string(kProbeSize) + ".0) - 1.0, 0.0, 1.0);\n}\n";
    const std::string fragment = "#version 330 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n";
    std::string error;
    const GLuint program = shader_compile_program(vertex, fragment, &error);
    if (program == 0) return GL_PIXEL_SHIFT_BIASED;
    GLuint texture = 0, fbo = 0, array = 0;
    glGenTextures(1, &texture);
    gl.edit_texture(texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kProbeSize, kProbeSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &fbo);
    gl.bind_draw_framebuffer(fbo);
    gl.bind_read_framebuffer(fbo);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glGenVertexArrays(1, &array);
    gl.bind_vertex_array(array);
    gl.use_program(program);
    glUniform1f(glGetUniformLocation(program, "shift"), GL_PIXEL_SHIFT_EXACT);
    gl.viewport(0, 0, kProbeSize, kProbeSize);
    gl.enable(GlShadowState::CAP_SCISSOR_TEST, false);
    gl.enable(GlShadowState::CAP_BLEND, false);
    gl.enable(GlShadowState::CAP_DEPTH_TEST, false);
    gl.enable(GlShadowState::CAP_CULL_FACE, false);
    gl.polygon_mode(GL_FILL);
    gl.color_mask(true, true, true, true);
    gl.clip_distances(0);
    const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, black);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    unsigned char rgba[kProbeSize][kProbeSize][4] = {};
    gl.pixel_store(GL_PACK_ALIGNMENT, 4);
    gl.pixel_store(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, kProbeSize, kProbeSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    unsigned char covered[kProbeSize][kProbeSize] = {};
    for (int y = 0; y < kProbeSize; ++y) {
        for (int x = 0; x < kProbeSize; ++x) covered[y][x] = rgba[y][x][0];
    }
    gl.bind_vertex_array(0);
    glDeleteVertexArrays(1, &array);
    gl.bind_draw_framebuffer(0);
    gl.bind_read_framebuffer(0);
    gl.forget_framebuffer(fbo);
    glDeleteFramebuffers(1, &fbo);
    gl.forget_texture(texture);
    glDeleteTextures(1, &texture);
    gl.forget_program(program);
    glDeleteProgram(program);
    return pixel_shift_coverage_matches(covered) ? GL_PIXEL_SHIFT_EXACT : GL_PIXEL_SHIFT_BIASED;
}
