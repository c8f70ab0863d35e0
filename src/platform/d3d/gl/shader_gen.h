// GLSL (3.30 core) for one fixed-function state combination: a vertex shader that transforms and lights
// as the platform does (camera-space lighting with range, attenuation, spot falloff and material
// sources, or pre-transformed screen vertices with their half-pixel shift into GL's pixel centres) and
// a fragment shader that runs the texture-stage cascade, the specular add, the alpha test and, for a
// w-buffer, writes w / wfar as depth. The constant block both shaders read is laid out in ff_constants.h.
#pragma once

#include <string>

#include "platform/d3d/gl/shader_key.h"

struct ShaderSource {
    std::string vertex;
    std::string fragment;
};

// pixel_shift: the geometry shift in use (pixel_shift.h); below 1/2 the fragment shader steps its
// attributes back to the device's pixel centre.
ShaderSource shader_generate(const ShaderKey& key, float pixel_shift);

// Attribute locations shared by the generated shaders and the vertex stream.
constexpr unsigned SHADER_ATTRIB_POSITION = 0;
constexpr unsigned SHADER_ATTRIB_NORMAL = 1;
constexpr unsigned SHADER_ATTRIB_DIFFUSE = 2;
constexpr unsigned SHADER_ATTRIB_SPECULAR = 3;
constexpr unsigned SHADER_ATTRIB_TEXCOORD0 = 4;  // set i at SHADER_ATTRIB_TEXCOORD0 + i

// The uniform block's name and binding point.
constexpr const char* SHADER_BLOCK_NAME = "FixedFunction";
constexpr unsigned SHADER_BLOCK_BINDING = 0;
