#include "platform/d3d/gl/shader_cache.h"

#include "platform/d3d/gl/shader_gen.h"
#include "platform/debug_output.h"

namespace {

std::string info_log(GLuint object, bool program)
{
    GLint length = 0;
    if (program) {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    } else {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    if (program) {
        glGetProgramInfoLog(object, length, nullptr, log.data());
    } else {
        glGetShaderInfoLog(object, length, nullptr, log.data());
    }
    return log.c_str();
}

GLuint compile(GLenum type, const std::string& source, std::string* error)
{
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        *error = (type == GL_VERTEX_SHADER ? "vertex shader: " : "fragment shader: ") + info_log(shader, false);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint shader_compile_program(const std::string& vertex, const std::string& fragment, std::string* error)
{
    GLuint vs = compile(GL_VERTEX_SHADER, vertex, error);
    if (vs == 0) return 0;
    GLuint fs = compile(GL_FRAGMENT_SHADER, fragment, error);
    if (fs == 0) {
        glDeleteShader(vs);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        *error = "link: " + info_log(program, true);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

ShaderCache::~ShaderCache()
{
    for (auto& [key, program] : programs_) {
        gl_.forget_program(program);
        if (program != 0) glDeleteProgram(program);
    }
}

GLuint ShaderCache::program(const ShaderKey& key)
{
    auto it = programs_.find(key);
    if (it != programs_.end()) return it->second;
    const GLuint program = build(key);
    programs_.emplace(key, program);  // a failure is remembered too, and reported once
    return program;
}

GLuint ShaderCache::build(const ShaderKey& key)
{
    ++compiles_;
    const ShaderSource source = shader_generate(key, pixel_shift_);
    std::string error;
    const GLuint program = shader_compile_program(source.vertex, source.fragment, &error);
    if (program == 0) {
        debug_output_format("OpenGL device: a generated shader does not compile: %s\n%s\n%s\n", error.c_str(),
                            source.vertex.c_str(), source.fragment.c_str());
        return 0;
    }
    const GLuint block = glGetUniformBlockIndex(program, SHADER_BLOCK_NAME);
    if (block != GL_INVALID_INDEX) glUniformBlockBinding(program, block, SHADER_BLOCK_BINDING);
    gl_.use_program(program);
    for (unsigned stage = 0; stage < key.stage_count; ++stage) {
        const GLint location = glGetUniformLocation(program, ("texture" + std::to_string(stage)).c_str());
        if (location >= 0) glUniform1i(location, static_cast<GLint>(stage));
    }
    return program;
}
