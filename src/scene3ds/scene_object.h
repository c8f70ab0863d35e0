// The drawable form of a 3D Studio scene, as a demo part holds it: loading puts every mesh's
// vertices into a device vertex buffer, loads the textures the materials name and sorts the meshes
// into opaque ones (ordered by material, so that material changes are rare) and transparent ones;
// each frame the holder sets `time`, animates, sets the default states and draws through one of the
// scene's cameras, with culling by bounding sphere, up to seven of the scene's lights, the materials,
// the transparent meshes after the opaque ones and a sphere-mapped pass for reflection maps.
// All device work goes through the render helpers and the texture manager on current_device.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/d3d/d3d.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds/material.h"

// Constants of the scene drawing.
inline constexpr float SCENE_NEAR_PLANE = 0.001f;
inline constexpr float SCENE_FAR_PLANE = 100.0f;
inline constexpr DWORD SCENE_MAX_LIGHTS = 7;  // device light indices 0..6
inline constexpr DWORD SCENE_VERTEX_LOCK_FLAGS = DDLOCK_WAIT | DDLOCK_WRITEONLY;

// Degrees to radians the way the scenes have always been converted: × π × 1/180, both as floats.
inline float scene_degrees_to_radians(float degrees) { return degrees * 3.1415927f * 0.0055555557f; }

// The material used for a mesh whose material index names no material (scenes without materials):
// the colours set_default_states gives the device, opaque.
const Material& scene_default_material();

class SceneObject {
public:
    SceneObject() = default;
    ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Loads the file, fills the vertex buffers and loads the textures. False when the file is missing
    // or a vertex buffer cannot be made or filled (the scene stays attached; release frees it).
    bool load(const char* path);
    // The same for a scene already in memory (read elsewhere, or built by a tool or a test); the
    // object takes it over. False for no scene, as for a missing file.
    bool load_scene(std::unique_ptr<Scene3ds> loaded);
    // Releases the vertex buffers and the texture surfaces, and deletes the scene.
    void release();
    // Evaluates every node at `time`, parents first.
    void animate();
    // The device states every scene frame starts from, with the default light 0.
    void set_default_states();
    // Draws through the camera at that position of the scene's camera list. A camera that does not
    // exist, or has no target, draws nothing and says so once in the debug output.
    void draw(int camera_index, bool use_materials, float aspect);

    // Device buffer of the i-th mesh of the scene's mesh list (none for a mesh without geometry).
    IDirect3DVertexBuffer7* vertex_buffer(std::size_t mesh) const;

    float time = 0.0f;                           // keyframe frames; demo parts set it directly
    std::vector<std::size_t> opaque_meshes;      // positions in scene->meshes, ascending material index
    std::vector<std::size_t> transparent_meshes; // positions in scene->meshes, file order
    std::unique_ptr<Scene3ds> scene;

private:
    const Material& material_of(std::size_t mesh) const;
    void sort_meshes();
    void cull();
    void set_lights();
    void draw_mesh(std::size_t mesh);
    void reflection_pass(std::size_t mesh);

    std::vector<IDirect3DVertexBuffer7*> vertex_buffers_;  // one per scene mesh
    bool camera_warned_ = false;
};

// Applying a material to the device: its colours, its textures and transparency states; the
// reflection states set the additive sphere-mapped second pass.
void scene_apply_material(const Material& material);
void scene_set_reflection_states(const Material& material);
