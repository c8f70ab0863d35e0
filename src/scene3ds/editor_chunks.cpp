// The editor's object chunks: named objects, triangle meshes with their vertices, faces, material
// groups, texture coordinates and local axes, lights, spotlights and cameras.
#include <algorithm>
#include <cstring>

#include "math/matrix.h"
#include "platform/debug_output.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds/mesh_normals.h"
#include "scene3ds/reader_state.h"

namespace {

void copy_name(char (&to)[SCENE_NODE_NAME_SIZE], const char (&from)[SCENE_NODE_NAME_SIZE]) {
    std::memcpy(to, from, sizeof to);
    to[SCENE_NODE_NAME_SIZE - 1] = '\0';
}

void read_named_object(ReaderState& state, std::size_t body_end) {
    state.file->read_name(state.current_name, sizeof state.current_name);
    if (state.file->failed()) return;
    read_children(state, body_end);
}

void read_triangle_mesh(ReaderState& state, std::size_t body_end) {
    MeshNode* mesh = state.scene->add_mesh();
    copy_name(mesh->name, state.current_name);
    state.mesh = mesh;
    read_children(state, body_end);
}

void read_vertex_list(ReaderState& state) {
    ChunkFile& file = *state.file;
    if (state.mesh == nullptr) return;
    const std::uint16_t count = file.read_u16();
    if (file.failed()) return;
    const std::size_t fit = std::min<std::size_t>(count, file.remaining() / 12);
    if (fit < count)
        debug_output_format("3ds: mesh %s: vertex list holds %zu of %u vertices\n", state.mesh->name, fit,
                            static_cast<unsigned>(count));
    std::vector<SceneVertex>& vertices = state.mesh->vertices;
    vertices.assign(fit, SceneVertex{});
    for (SceneVertex& v : vertices) {
        const Vector3 p = read_point(file);
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
    }
    // A vertex list after the faces: the faces must still fit it.
    mesh_check_indices(state.mesh);
}

void read_face_list(ReaderState& state, std::size_t body_end) {
    ChunkFile& file = *state.file;
    MeshNode* mesh = state.mesh;
    if (mesh == nullptr) return;
    const std::uint16_t count = file.read_u16();
    if (file.failed()) return;
    const std::size_t fit = std::min<std::size_t>(count, file.remaining() / 8);
    if (fit < count)
        debug_output_format("3ds: mesh %s: face list holds %zu of %u faces\n", mesh->name, fit,
                            static_cast<unsigned>(count));
    mesh->indices.resize(3 * fit);
    for (std::size_t i = 0; i < fit; ++i) {
        const std::uint16_t a = file.read_u16();
        const std::uint16_t b = file.read_u16();
        const std::uint16_t c = file.read_u16();
        file.read_u16();  // edge flags
        // Reversed winding, to go with the swapped axes.
        mesh->indices[3 * i] = a;
        mesh->indices[3 * i + 1] = c;
        mesh->indices[3 * i + 2] = b;
    }
    mesh_check_indices(mesh);
    compute_mesh_normals(mesh->vertices.data(), mesh->vertex_count(), mesh->indices.data(), mesh->index_count());
    if (fit == count) read_children(state, body_end);
}

void read_face_material(ReaderState& state) {
    if (state.mesh == nullptr) return;
    char name[MATERIAL_NAME_SIZE];
    state.file->read_name(name, sizeof name);
    if (state.file->failed()) return;
    std::int32_t index = 0;
    const auto& materials = state.scene->materials;
    for (std::size_t i = 0; i < materials.size(); ++i) {
        if (std::strcmp(materials[i]->name, name) == 0) {
            index = static_cast<std::int32_t>(i);
            break;
        }
    }
    state.mesh->material_index = index;
}

void read_texture_coords(ReaderState& state) {
    ChunkFile& file = *state.file;
    MeshNode* mesh = state.mesh;
    if (mesh == nullptr) return;
    const std::uint16_t count = file.read_u16();
    if (file.failed()) return;
    // A list longer than the vertex list is cut to it.
    const std::size_t n = std::min<std::size_t>({count, mesh->vertices.size(), file.remaining() / 8});
    for (std::size_t i = 0; i < n; ++i) {
        const float u = file.read_float();
        const float v = file.read_float();
        mesh->vertices[i].tu = u;
        mesh->vertices[i].tv = -v;
    }
}

void read_local_axes(ReaderState& state) {
    ChunkFile& file = *state.file;
    MeshNode* mesh = state.mesh;
    if (mesh == nullptr) return;
    float rows[4][3];
    for (auto& row : rows)
        for (float& value : row) value = file.read_float();
    if (file.failed()) return;

    // Rows are the axes and the origin in file axes; swap rows 2 and 3 and, in every row, entries
    // 2 and 3 (the same swap as for points).
    Matrix axes;
    const int row_of[4] = {0, 2, 1, 3};
    for (int r = 0; r < 4; ++r) {
        const float* src = rows[row_of[r]];
        axes.m[r][0] = src[0];
        axes.m[r][1] = src[2];
        axes.m[r][2] = src[1];
        axes.m[r][3] = r == 3 ? 1.0f : 0.0f;
    }
    Matrix inv;
    if (matrix_inverse(&inv, nullptr, &axes) == nullptr) {
        debug_output_format("3ds: mesh %s: singular local axes, vertices left as they are\n", mesh->name);
        return;
    }
    // The positions already carry the 0.01 scale; the inverse's translation row does not.
    for (SceneVertex& v : mesh->vertices) {
        const float x = v.x, y = v.y, z = v.z;
        float out[3];
        for (int j = 0; j < 3; ++j)
            out[j] = x * inv.m[0][j] + y * inv.m[1][j] + z * inv.m[2][j] + FILE_UNIT_SCALE * inv.m[3][j];
        v.x = out[0];
        v.y = out[1];
        v.z = out[2];
    }
}

void read_light(ReaderState& state, std::size_t body_end) {
    read_point(*state.file);  // position: the keyframer places lights
    if (state.file->failed()) return;
    LightNode* light = state.scene->add_light();
    copy_name(light->name, state.current_name);
    state.light = light;
    read_children(state, body_end);
    light->r = state.colour.r;
    light->g = state.colour.g;
    light->b = state.colour.b;
}

void read_spotlight(ReaderState& state) {
    ChunkFile& file = *state.file;
    if (state.light == nullptr) return;
    read_point(file);  // target: the keyframer's light target node places it
    const float hotspot = file.read_float();
    const float falloff = file.read_float();
    if (file.failed()) return;
    state.light->spot = 1;
    state.light->hotspot = hotspot;
    state.light->falloff = falloff;
}

void read_camera(ReaderState& state) {
    // Position, target, bank and lens are not kept: the keyframer places cameras, the field of
    // view starts at 90 degrees.
    CameraNode* camera = state.scene->add_camera();
    copy_name(camera->name, state.current_name);
    state.camera = camera;
}

}  // namespace

bool mesh_check_indices(MeshNode* mesh) {
    const std::uint32_t vertex_count = mesh->vertex_count();
    for (std::uint16_t index : mesh->indices) {
        if (index >= vertex_count) {
            debug_output_format("3ds: mesh %s: face index %u beyond its %u vertices, faces dropped\n", mesh->name,
                                static_cast<unsigned>(index), vertex_count);
            mesh->indices.clear();
            return false;
        }
    }
    return true;
}

bool read_editor_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end) {
    switch (id) {
        case chunk3ds::NAMED_OBJECT: read_named_object(state, body_end); return true;
        case chunk3ds::TRIANGLE_MESH: read_triangle_mesh(state, body_end); return true;
        case chunk3ds::VERTEX_LIST: read_vertex_list(state); return true;
        case chunk3ds::FACE_LIST: read_face_list(state, body_end); return true;
        case chunk3ds::FACE_MATERIAL: read_face_material(state); return true;
        case chunk3ds::TEXTURE_COORDS: read_texture_coords(state); return true;
        case chunk3ds::LOCAL_AXES: read_local_axes(state); return true;
        case chunk3ds::LIGHT: read_light(state, body_end); return true;
        case chunk3ds::SPOTLIGHT: read_spotlight(state); return true;
        case chunk3ds::CAMERA: read_camera(state); return true;
        default: return false;
    }
}
