// Compiled programs by shader key: the first draw with a new state combination generates its GLSL
// (shader_gen.h), compiles and links it, ties its samplers to the texture units of their stages and its
// constant block to the shared binding point; every later draw with the same key reuses the program.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <unordered_map>

#include "platform/d3d/gl/shader_key.h"
#include "platform/d3d/gl/shadow_state.h"

class ShaderCache {
public:
    ShaderCache(GlShadowState& gl, float pixel_shift) : gl_(gl), pixel_shift_(pixel_shift) {}
    ~ShaderCache();  // the context must be current
    ShaderCache(const ShaderCache&) = delete;
    ShaderCache& operator=(const ShaderCache&) = delete;

    // The program for key; 0 if it does not compile (the reason goes to the debug output once).
    GLuint program(const ShaderKey& key);

    std::size_t size() const { return programs_.size(); }
    std::size_t compiles() const { return compiles_; }

private:
    GLuint build(const ShaderKey& key);

    GlShadowState& gl_;
    float pixel_shift_;
    std::unordered_map<ShaderKey, GLuint, ShaderKeyHash> programs_;
    std::size_t compiles_ = 0;
};

// Compiles and links one program from source; 0 with the compiler's log in error on failure.
GLuint shader_compile_program(const std::string& vertex, const std::string& fragment, std::string* error);
