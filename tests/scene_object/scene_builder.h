// Small scenes built in memory for the scene-object tests: unit quads facing the camera placed by
// their node matrices, materials, lights and a camera with its target, linked and bounded as the
// reader leaves a loaded file.
#pragma once

#include <memory>

#include "scene3ds/scene.h"

class SceneBuilder {
public:
    // A material (diffuse 0.8 0.6 0.4, shininess 0.25 at strength 0.5) whose maps all name `map_name`.
    int material(float transparency = 0.0f, std::uint32_t maps = 0, const char* map_name = "map.tga");
    // A quad of side 1 in the z = 0 plane, facing -z, centred at (x, y, z), using material `index`.
    MeshNode* quad(int material_index, float x = 0.0f, float y = 0.0f, float z = 0.0f);
    // A camera at `eye` looking at `at` (field of view in degrees), with its target node.
    void camera(Vector3 eye, Vector3 at, float fov = 90.0f, bool with_target = true);
    LightNode* omni(Vector3 position, float r = 1.0f, float g = 1.0f, float b = 1.0f);
    // A spot light at `from` aimed at `at`, as the reader leaves it (light node at the target).
    void spot(Vector3 from, Vector3 at, float hotspot, float falloff);
    // Links the nodes, computes the bounds, and hands the scene over.
    std::unique_ptr<Scene3ds> build();

    Scene3ds& scene() { return *scene_; }

private:
    std::unique_ptr<Scene3ds> scene_ = std::make_unique<Scene3ds>();
};
