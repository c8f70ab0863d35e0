#include "effects/mesh_record.h"

#include <memory>

#include "math/vector3.h"
#include "platform/debug_output.h"
#include "render/render.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"

namespace {

enum class Placement { Keyframed, Positioned };

MeshRecord load_mesh(const char* file_name, int index, Placement placement, D3DCOLOR colour) {
    MeshRecord record;
    const std::unique_ptr<Scene3ds> scene = file_name != nullptr ? load_3ds_scene(file_name) : nullptr;
    MeshNode* mesh = scene != nullptr && index >= 0 ? mesh_at(scene->meshes, static_cast<std::size_t>(index)) : nullptr;
    if (mesh == nullptr) {
        debug_output_format("%s: no mesh %d to load\n", file_name != nullptr ? file_name : "(no file)", index);
        return record;
    }
    const int vertex_count = static_cast<int>(mesh->vertex_count());
    const int index_count = static_cast<int>(mesh->index_count());
    record.vertices.resize(mesh->vertices.size());
    record.indices = mesh->indices;
    if (placement == Placement::Positioned) {
        debug_output_format("%d, %d joo\n", vertex_count, index_count);
    } else {
        evaluate_node(mesh, 0.0f);
    }
    const Vector3 offset = node_position(*mesh);
    for (std::size_t i = 0; i < mesh->vertices.size(); ++i) {
        const SceneVertex& source = mesh->vertices[i];
        Vector3 p{source.x, source.y, source.z};
        if (placement == Placement::Keyframed) {
            p = p * 100.0f;
            vector3_transform_point(&p, &mesh->matrix);
        } else {
            p = (p + offset) * 100.0f;
        }
        record.vertices[i] = D3DLVERTEX{p.x, p.y, p.z, 0, colour, 0, source.tu, source.tv};
    }
    return record;
}

}  // namespace

MeshRecord load_mesh_keyframed(const char* file_name, int index) {
    return load_mesh(file_name, index, Placement::Keyframed, MESH_KEYFRAMED_COLOUR);
}

MeshRecord load_mesh_positioned(const char* file_name, int index) {
    return load_mesh(file_name, index, Placement::Positioned, MESH_POSITIONED_COLOUR);
}

MeshRecord load_mesh_white(const char* file_name, int index) {
    return load_mesh(file_name, index, Placement::Positioned, MESH_WHITE_COLOUR);
}

void draw_mesh(MeshRecord* record) {
    if (record->empty()) return;
    draw_indexed(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, record->vertices.data(), static_cast<DWORD>(record->vertex_count()),
                 record->indices.data(), static_cast<DWORD>(record->index_count()), 0);
}

void scroll_mesh(MeshRecord* record, float du, float dv, D3DCOLOR colour) {
    for (D3DLVERTEX& vertex : record->vertices) {
        vertex.tu += du;
        vertex.tv += dv;
        vertex.color = colour;
    }
}
