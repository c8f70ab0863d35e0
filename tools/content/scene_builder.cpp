#include "content/scene_builder.h"

#include <cmath>

namespace {

File3dsColor colour(Rgb c) { return {clamp01(c.r), clamp01(c.g), clamp01(c.b), File3dsColorFormat::Bytes}; }

template <typename Value>
File3dsTrack<Value> single_key(Value v) {
    File3dsTrack<Value> t;
    t.keys.push_back({0, v, {}});
    return t;
}

}  // namespace

SceneBuilder::SceneBuilder(std::uint32_t end_frame) : end_frame_(end_frame) { scene_.frame_segment = std::array<std::uint32_t, 2>{0, end_frame}; }

SceneBuilder::SceneBuilder(File3dsScene scene)
    : scene_(std::move(scene)),
      end_frame_(scene_.frame_segment ? (*scene_.frame_segment)[1] : 0),
      next_id_(static_cast<std::int16_t>(scene_.nodes.size())) {}

File3dsNode SceneBuilder::node(File3dsNodeChunk chunk, const std::string& name) {
    File3dsNode n;
    n.chunk = chunk;
    n.node_id = next_id_++;
    n.name = name;
    n.flags1 = 0x4000;
    n.parent = -1;
    return n;
}

void SceneBuilder::material(const std::string& name, const MaterialLook& look) {
    File3dsMaterial m;
    m.name = name;
    m.ambient = colour(look.ambient);
    m.diffuse = colour(look.diffuse);
    m.specular = colour(look.specular);
    m.shininess = File3dsPercentage{look.shininess, false};
    m.shininess_strength = File3dsPercentage{look.shininess_strength, false};
    m.transparency = File3dsPercentage{look.transparency, false};
    if (!look.texture.empty()) m.texture_map = look.texture;
    if (!look.reflection.empty()) m.reflection_map = look.reflection;
    if (!look.opacity.empty()) m.opacity_map = look.opacity;
    scene_.materials.push_back(std::move(m));
}

void SceneBuilder::mesh(const MeshDraft& draft, const std::string& name, const std::string& material, V3 origin,
                        std::function<float(float)> turning, int key_step) {
    scene_.objects.emplace_back(mesh_to_file(draft, name, material, origin));
    File3dsNode n = node(File3dsNodeChunk::Object, name);
    n.pivot = File3dsPoint{};
    n.position = single_key(point_to_file(origin));
    n.scale = single_key(File3dsPoint{1.0f, 1.0f, 1.0f});
    File3dsTrack<File3dsRotation> rotation;
    rotation.keys.push_back({0, File3dsRotation{0.0f, {0.0f, 0.0f, 1.0f}}, {}});
    if (turning) {
        // Keys hold the turn since the key before, about the file's vertical axis (its Z).
        float previous = turning(0.0f);
        rotation.keys.front().value.angle = previous;
        for (std::uint32_t f = static_cast<std::uint32_t>(key_step); f <= end_frame_; f += static_cast<std::uint32_t>(key_step)) {
            const float now = turning(static_cast<float>(f));
            rotation.keys.push_back({f, File3dsRotation{now - previous, {0.0f, 0.0f, 1.0f}}, {}});
            previous = now;
        }
    }
    n.rotation = std::move(rotation);
    scene_.nodes.push_back(std::move(n));
}

void SceneBuilder::omni_light(const std::string& name, V3 position, Rgb c) {
    scene_.objects.emplace_back(File3dsLight{name, point_to_file(position), colour(c), {}});
    File3dsNode n = node(File3dsNodeChunk::Light, name);
    n.position = single_key(point_to_file(position));
    scene_.nodes.push_back(std::move(n));
}

void SceneBuilder::camera(const std::string& name, const std::function<CameraPose(float)>& path, int key_step) {
    const CameraPose first = path(0.0f);
    const float lens = 18.0f / std::tan(first.fov * kPi / 360.0f);
    scene_.objects.emplace_back(File3dsCamera{name, point_to_file(first.eye), point_to_file(first.target), 0.0f, lens});
    File3dsNode cam = node(File3dsNodeChunk::Camera, name);
    File3dsNode target = node(File3dsNodeChunk::CameraTarget, name);
    File3dsTrack<File3dsPoint> eyes, targets;
    File3dsTrack<float> fovs;
    for (std::uint32_t f = 0;; f += static_cast<std::uint32_t>(key_step)) {
        if (f > end_frame_) f = end_frame_;
        const CameraPose pose = path(static_cast<float>(f));
        eyes.keys.push_back({f, point_to_file(pose.eye), {}});
        targets.keys.push_back({f, point_to_file(pose.target), {}});
        fovs.keys.push_back({f, pose.fov, {}});
        if (f == end_frame_) break;
    }
    cam.position = std::move(eyes);
    cam.fov = std::move(fovs);
    cam.roll = single_key(0.0f);
    target.position = std::move(targets);
    scene_.nodes.push_back(std::move(cam));
    scene_.nodes.push_back(std::move(target));
}
