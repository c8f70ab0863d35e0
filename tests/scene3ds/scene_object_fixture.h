// Scene objects drawn on a recording device: every call can be checked, vertex buffers are plain
// memory and sphere visibility answers as the test says. The scenes are built in memory (unit quads
// facing the camera, materials, lights, a camera with its target), linked and bounded as the reader
// leaves a loaded file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "support/recording_device.h"
#include "render/render_context.h"
#include "scene3ds/mesh_bounds.h"
#include "scene3ds/node_links.h"
#include "scene3ds/scene_object.h"
#include "textures/texture_manager.h"

class SceneBuilder {
public:
    // A material (diffuse 0.8 0.6 0.4, shininess 0.25 at strength 0.5) whose maps all name `map_name`.
    int material(float transparency = 0.0f, std::uint32_t maps = 0, const char* map_name = "map.tga") {
        Material* m = scene_->add_material();
        m->diffuse = {0.8f, 0.6f, 0.4f};
        m->ambient = {0.1f, 0.1f, 0.1f};
        m->specular = {1.0f, 1.0f, 1.0f};
        m->shininess = 0.25f;
        m->shininess_strength = 0.5f;
        m->transparency = transparency;
        m->maps_present = maps;
        for (MaterialMap* map : {&m->texture_map, &m->opacity_map, &m->reflection_map}) {
            std::snprintf(map->file_name, sizeof map->file_name, "%s", map_name);
        }
        return static_cast<int>(scene_->materials.size()) - 1;
    }
    // A quad of side 1 in the z = 0 plane, facing -z, centred at (x, y, z), using material `index`.
    MeshNode* quad(int material_index, float x = 0.0f, float y = 0.0f, float z = 0.0f) {
        MeshNode* mesh = place(scene_->add_mesh(), {x, y, z});
        for (const auto& c : {std::pair{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}}) {
            SceneVertex v{};
            v.x = c.first;
            v.y = c.second;
            v.nz = -1.0f;
            v.tu = c.first + 0.5f;
            v.tv = 0.5f - c.second;
            mesh->vertices.push_back(v);
        }
        mesh->indices = {0, 1, 2, 0, 2, 3};  // clockwise seen from -z, so counter-clockwise culling keeps it
        mesh->material_index = material_index;
        return mesh;
    }
    // A camera at `eye` looking at `at` (field of view in degrees), with its target node.
    void camera(Vector3 eye, Vector3 at, float fov = 90.0f, bool with_target = true) {
        place(scene_->add_camera(), eye)->field_of_view = fov;
        if (with_target) scene_->camera_targets[scene_->camera_target_count++] = place(scene_->add_target(), at);
    }
    LightNode* omni(Vector3 position, float r = 1.0f, float g = 1.0f, float b = 1.0f) {
        LightNode* light = place(scene_->add_light(), position);
        light->r = r;
        light->g = g;
        light->b = b;
        return light;
    }
    // A spot light at `from` aimed at `at`, as the reader leaves it (light node at the target).
    void spot(Vector3 from, Vector3 at, float hotspot, float falloff) {
        LightNode* light = omni(at);
        light->spot = 1;
        light->hotspot = hotspot;
        light->falloff = falloff;
        scene_->spot_nodes[scene_->spot_node_count++] = place(scene_->add_target(), from);
    }
    // Links the nodes and computes the bounds (keeping the matrices set here), and hands the scene over.
    std::unique_ptr<Scene3ds> build() {
        std::vector<Matrix> matrices;
        for (SceneNode* node : scene_->node_registry) matrices.push_back(node->matrix);
        link_nodes(scene_.get());
        compute_mesh_bounds(scene_.get());
        for (std::size_t i = 0; i < matrices.size(); ++i) scene_->node_registry[i]->matrix = matrices[i];
        return std::move(scene_);
    }
    Scene3ds& scene() { return *scene_; }

private:
    template <typename Node> static Node* place(Node* node, Vector3 at) {
        matrix_translation(&node->matrix, at.x, at.y, at.z);
        return node;
    }
    std::unique_ptr<Scene3ds> scene_ = std::make_unique<Scene3ds>();
};

class SceneObjectTest : public ::testing::Test {
protected:
    using Strings = std::vector<std::string>;

    void SetUp() override { render_objects_set({nullptr, &direct3d, &device, nullptr}); }
    void TearDown() override {
        object.release();
        texture_delete_all();
        render_objects_set({});
    }
    // A scene of one material and one quad seen by a camera at z = -5, for the material or camera to vary.
    MeshNode* one_quad(std::uint32_t maps = 0, bool camera_target = true) {
        b.material(0.0f, maps);
        b.camera({0, 0, -5}, {0, 0, 0}, 90.0f, camera_target);
        return b.quad(0);
    }
    // Loads the scene built in `b` and labels mesh i's buffer "mesh<i>" in the recorded calls.
    void load() {
        ASSERT_TRUE(object.load_scene(b.build()));
        for (std::size_t i = 0; i < object.scene->meshes.size(); ++i) {
            if (object.vertex_buffer(i) != nullptr) device.label(object.vertex_buffer(i), "mesh" + std::to_string(i));
        }
    }
    // The default states, then a draw through the camera; only the draw's calls stay recorded. (The
    // built scenes have no tracks, so they are not animated: their node matrices are set directly.)
    void draw_frame(int camera = 0, bool use_materials = true) {
        object.set_default_states();
        device.clear_calls();
        object.draw(camera, use_materials, 0.75f);
    }
    // The recorded draws, e.g. "mesh2".
    Strings drawn() const {
        Strings out;
        for (const std::string& call : device.calls_starting("DrawIndexedPrimitiveVB")) {
            const std::size_t at = call.find("mesh");
            out.push_back(call.substr(at, call.find(' ', at) - at));
        }
        return out;
    }
    // Position of the first recorded call equal to `text` at or after `from`; -1 if none.
    long find_call(const std::string& text, long from = 0) const {
        const auto it = std::find(device.calls.begin() + std::max(from, 0L), device.calls.end(), text);
        return from < 0 || it == device.calls.end() ? -1 : it - device.calls.begin();
    }

    SceneBuilder b;
    RecordingDirect3D direct3d;
    RecordingDevice device;
    SceneObject object;
};
