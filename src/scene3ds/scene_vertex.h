// The vertex record of a scene mesh, exactly as the device takes it: position, normal and two
// texture-coordinate pairs, all single-precision floats (40 bytes, vertex format 0x212 =
// D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2). The reader fills position, normal and the first pair;
// the second pair stays zero here and is written only in a device buffer's copy (sphere mapping).
// It is a plain struct of floats so that an array of them can be handed over as raw memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

constexpr std::uint32_t SCENE_VERTEX_FVF = 0x212;

struct SceneVertex {
    float x, y, z;     // position
    float nx, ny, nz;  // normal
    float tu, tv;      // first texture-coordinate pair
    float tu2, tv2;    // second texture-coordinate pair
};
static_assert(sizeof(SceneVertex) == 40, "SceneVertex must keep the device's 0x212 layout");
static_assert(std::is_standard_layout_v<SceneVertex> && std::is_trivially_copyable_v<SceneVertex>,
              "SceneVertex is copied to the device as raw memory");
static_assert(offsetof(SceneVertex, nx) == 12 && offsetof(SceneVertex, tu) == 24 &&
                  offsetof(SceneVertex, tu2) == 32,
              "SceneVertex field offsets follow the vertex format");
