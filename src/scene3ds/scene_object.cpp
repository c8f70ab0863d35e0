#include "scene3ds/scene_object.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/debug_output.h"
#include "render/vertex_buffer_create.h"
#include "scene3ds/keyframe_eval.h"
#include "textures/texture_manager.h"

namespace {

// A map's file name as a terminated string, whatever the 16-byte field holds.
std::string map_name(const MaterialMap& map) {
    return std::string(map.file_name, strnlen(map.file_name, sizeof map.file_name));
}

void load_map_texture(const MaterialMap& map, bool alpha_from_blue) {
    const std::string name = map_name(map);
    if (FAILED(texture_load(name.c_str(), 32, 8))) debug_output_format("Texture %s load failed!\n", name.c_str());
    if (alpha_from_blue && FAILED(texture_alpha_from_blue(name.c_str()))) {
        debug_output_format("Failed to set alpha for %s!\n", name.c_str());
    }
}

HRESULT fill_vertex_buffer(const MeshNode& mesh, IDirect3DVertexBuffer7** buffer) {
    HRESULT result = create_vertex_buffer(buffer, mesh.vertex_count(), SCENE_VERTEX_FVF);
    if (FAILED(result)) return result;
    void* data = nullptr;
    result = (*buffer)->Lock(SCENE_VERTEX_LOCK_FLAGS, &data, nullptr);
    if (FAILED(result)) return result;
    std::memcpy(data, mesh.vertices.data(), mesh.vertices.size() * sizeof(SceneVertex));
    (*buffer)->Unlock();
    return S_OK;
}

}  // namespace

SceneObject::~SceneObject() { release(); }

bool SceneObject::load(const char* path) { return load_scene(load_3ds_scene(path)); }

bool SceneObject::load_scene(std::unique_ptr<Scene3ds> loaded) {
    release();
    camera_warned_ = false;
    scene = std::move(loaded);
    if (!scene) return false;

    vertex_buffers_.assign(scene->meshes.size(), nullptr);
    for (std::size_t i = 0; i < scene->meshes.size(); ++i) {
        const MeshNode& mesh = *scene->meshes[i];
        // A mesh without vertices or faces has nothing to draw and gets no buffer.
        if (mesh.vertices.empty() || mesh.indices.empty()) continue;
        if (FAILED(fill_vertex_buffer(mesh, &vertex_buffers_[i]))) return false;
    }

    for (const std::unique_ptr<Material>& material : scene->materials) {
        if (material->has_map(MATERIAL_MAP_TEXTURE)) load_map_texture(material->texture_map, false);
        if (material->has_map(MATERIAL_MAP_REFLECTION)) load_map_texture(material->reflection_map, false);
        if (material->has_map(MATERIAL_MAP_OPACITY)) load_map_texture(material->opacity_map, true);
    }

    sort_meshes();
    time = 0.0f;
    return true;
}

void SceneObject::sort_meshes() {
    opaque_meshes.clear();
    transparent_meshes.clear();
    for (std::size_t i = 0; i < scene->meshes.size(); ++i) {
        const Material& material = material_of(i);
        if (material.has_map(MATERIAL_MAP_OPACITY) || material.transparency != 0.0f) {
            transparent_meshes.push_back(i);
        } else {
            opaque_meshes.push_back(i);
        }
    }
    std::stable_sort(opaque_meshes.begin(), opaque_meshes.end(), [this](std::size_t a, std::size_t b) {
        return scene->meshes[a]->material_index < scene->meshes[b]->material_index;
    });
}

void SceneObject::release() {
    opaque_meshes.clear();
    transparent_meshes.clear();
    for (IDirect3DVertexBuffer7*& buffer : vertex_buffers_) {
        if (buffer != nullptr) buffer->Release();
        buffer = nullptr;
    }
    vertex_buffers_.clear();
    if (scene) {
        for (const std::unique_ptr<Material>& material : scene->materials) {
            if (material->has_map(MATERIAL_MAP_TEXTURE)) texture_release_surface(map_name(material->texture_map).c_str());
            if (material->has_map(MATERIAL_MAP_REFLECTION)) {
                texture_release_surface(map_name(material->reflection_map).c_str());
            }
            if (material->has_map(MATERIAL_MAP_OPACITY)) texture_release_surface(map_name(material->opacity_map).c_str());
        }
    }
    scene.reset();
}

void SceneObject::animate() {
    if (!scene) return;
    for (SceneNode* node : scene->evaluation_order) evaluate_node(node, time);
}

IDirect3DVertexBuffer7* SceneObject::vertex_buffer(std::size_t mesh) const {
    return mesh < vertex_buffers_.size() ? vertex_buffers_[mesh] : nullptr;
}

const Material& SceneObject::material_of(std::size_t mesh) const {
    const Material* material = material_at(*scene, scene->meshes[mesh]->material_index);
    return material != nullptr ? *material : scene_default_material();
}
