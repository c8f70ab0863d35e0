// Surface materials of a scene: colours, specular settings, transparency, wireframe and up to three
// map file names (texture, opacity, reflection). Meshes refer to a material by its position in the
// scene's material list. Everything is zero at creation; a map's name counts only when its bit is set
// in maps_present.
#pragma once

#include <cstdint>

constexpr std::uint32_t MATERIAL_MAP_TEXTURE = 1;
constexpr std::uint32_t MATERIAL_MAP_OPACITY = 2;
constexpr std::uint32_t MATERIAL_MAP_REFLECTION = 4;

constexpr int MATERIAL_NAME_SIZE = 32;
constexpr int MATERIAL_MAP_NAME_SIZE = 16;

struct ColorRgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

struct MaterialMap {
    char file_name[MATERIAL_MAP_NAME_SIZE] = {};  // zero-terminated, e.g. "metal.jpg"
};

struct Material {
    char name[MATERIAL_NAME_SIZE] = {};
    ColorRgb ambient;
    ColorRgb diffuse;
    ColorRgb specular;
    float shininess = 0.0f;
    float shininess_strength = 0.0f;
    float transparency = 0.0f;  // 0 = opaque
    std::uint8_t wire = 0;
    std::uint32_t maps_present = 0;
    MaterialMap texture_map;
    MaterialMap opacity_map;
    MaterialMap reflection_map;

    bool has_map(std::uint32_t bit) const { return (maps_present & bit) != 0; }
};
