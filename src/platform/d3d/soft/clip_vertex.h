// The vertex record between the vertex stage and the clipper: a homogeneous position in "screen
// homogeneous" space — (x·w, y·w) in target pixels, a depth term, and w — followed by the lit colours and
// the texture coordinates each texture stage reads. Everything in it is linear in clip space, so the
// clipper interpolates it with one parameter; after clipping, x / w and y / w are pixel positions.
#pragma once

#include <cstdint>

namespace soft {

// Texture stages the software device combines (its wMaxTextureBlendStages).
constexpr unsigned kStages = 2;

// Attribute slots: diffuse r, g, b, a (0..255), specular r, g, b (0..255), then (u, v) per stage.
constexpr unsigned kAttrDiffuse = 0;
constexpr unsigned kAttrSpecular = 4;
constexpr unsigned kAttrTex = 7;
constexpr unsigned kAttributes = kAttrTex + 2 * kStages;

struct ClipVertex {
    // x·w and y·w in target pixels; z: clip-space z for transformed vertices (0 ≤ z ≤ w inside), sz·w
    // for pre-transformed ones; w.
    float h[4];
    float attr[kAttributes];
    std::uint32_t outcode;  // clip planes the vertex lies outside of (clipping.h)
};

}  // namespace soft
