// Assembles one 3DS scene the way 3D Studio lays it out: materials, then the editor objects
// (meshes, omni lights, cameras), then the keyframer with one node per object (node ids in order,
// no parents), every track holding at least one key. Meshes stand still or turn about their own
// origin; cameras and their targets follow paths sampled at every frame, so the reader's linear
// interpolation between keys stays smooth; lights stand still.
#pragma once

#include <functional>
#include <string>

#include "content/colour.h"
#include "content/mesh_draft.h"
#include "scene3ds_writer/scene3ds_file.h"

struct CameraPose {
    V3 eye;
    V3 target;
    float fov = 60.0f;  // vertical field of view, degrees
};

struct MaterialLook {
    Rgb diffuse{0.8f, 0.8f, 0.8f};
    Rgb ambient{0.1f, 0.1f, 0.1f};
    Rgb specular{0.0f, 0.0f, 0.0f};
    float shininess = 10.0f;         // percent
    float shininess_strength = 0.0f; // percent
    float transparency = 0.0f;       // percent
    std::string texture = {};  // map file names, empty for none
    std::string reflection = {};
    std::string opacity = {};
};

class SceneBuilder {
public:
    explicit SceneBuilder(std::uint32_t end_frame);
    // Goes on adding to a scene made before (node ids continue after its nodes).
    explicit SceneBuilder(File3dsScene scene);

    void material(const std::string& name, const MaterialLook& look);
    // A mesh whose local origin is `origin`; turning, if given, is the rotation about the origin's
    // vertical axis at frame f (radians), keyed every `key_step` frames over the whole segment.
    void mesh(const MeshDraft& draft, const std::string& name, const std::string& material, V3 origin = {},
              std::function<float(float)> turning = {}, int key_step = 2);
    void omni_light(const std::string& name, V3 position, Rgb colour);
    // A camera with its target, keyed every `key_step` frames from 0 to the end frame.
    void camera(const std::string& name, const std::function<CameraPose(float)>& path, int key_step = 1);

    const File3dsScene& scene() const { return scene_; }
    File3dsScene take() { return std::move(scene_); }

private:
    File3dsNode node(File3dsNodeChunk chunk, const std::string& name);
    File3dsScene scene_;
    std::uint32_t end_frame_;
    std::int16_t next_id_ = 0;
    std::vector<File3dsNode> camera_nodes_;
};
