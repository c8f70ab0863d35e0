#include "scene_object/scene_builder.h"

#include <cstdio>

#include "scene3ds/mesh_bounds.h"
#include "scene3ds/node_links.h"

namespace {
template <typename Node> Node* place(Node* node, Vector3 at) {
    matrix_translation(&node->matrix, at.x, at.y, at.z);
    return node;
}
}  // namespace

int SceneBuilder::material(float transparency, std::uint32_t maps, const char* map_name) {
    Material* m = scene_->add_material();
    std::snprintf(m->name, sizeof m->name, "material%zu", scene_->materials.size() - 1);
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

MeshNode* SceneBuilder::quad(int material_index, float x, float y, float z) {
    MeshNode* mesh = place(scene_->add_mesh(), {x, y, z});
    std::snprintf(mesh->name, sizeof mesh->name, "quad%zu", scene_->meshes.size() - 1);
    const float corners[4][2] = {{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}};
    for (const auto& c : corners) {
        SceneVertex v{};
        v.x = c[0];
        v.y = c[1];
        v.nz = -1.0f;
        v.tu = c[0] + 0.5f;
        v.tv = 0.5f - c[1];
        mesh->vertices.push_back(v);
    }
    mesh->indices = {0, 1, 2, 0, 2, 3};  // clockwise seen from -z, so counter-clockwise culling keeps it
    mesh->material_index = material_index;
    return mesh;
}

void SceneBuilder::camera(Vector3 eye, Vector3 at, float fov, bool with_target) {
    CameraNode* camera = place(scene_->add_camera(), eye);
    std::snprintf(camera->name, sizeof camera->name, "camera%zu", scene_->cameras.size() - 1);
    camera->field_of_view = fov;
    if (with_target) scene_->camera_targets[scene_->camera_target_count++] = place(scene_->add_target(), at);
}

LightNode* SceneBuilder::omni(Vector3 position, float r, float g, float b) {
    LightNode* light = place(scene_->add_light(), position);
    light->r = r;
    light->g = g;
    light->b = b;
    return light;
}

void SceneBuilder::spot(Vector3 from, Vector3 at, float hotspot, float falloff) {
    LightNode* light = omni(at);
    light->spot = 1;
    light->hotspot = hotspot;
    light->falloff = falloff;
    scene_->spot_nodes[scene_->spot_node_count++] = place(scene_->add_target(), from);
}

std::unique_ptr<Scene3ds> SceneBuilder::build() {
    // link_nodes recomputes the placement links; keep the matrices set above.
    std::vector<Matrix> matrices;
    for (SceneNode* node : scene_->node_registry) matrices.push_back(node->matrix);
    link_nodes(scene_.get());
    compute_mesh_bounds(scene_.get());
    for (std::size_t i = 0; i < matrices.size(); ++i) scene_->node_registry[i]->matrix = matrices[i];
    return std::move(scene_);
}
