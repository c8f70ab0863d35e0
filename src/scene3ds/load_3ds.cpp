#include "scene3ds/load_3ds.h"

#include <string>

#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds/mesh_bounds.h"
#include "scene3ds/node_links.h"
#include "scene3ds/reader_state.h"

namespace {

void read_file(ChunkFile& file, Scene3ds* scene) {
    ReaderState state;
    state.file = &file;
    state.scene = scene;
    scene->camera_target_count = 0;
    scene->spot_node_count = 0;

    ChunkHeader header;
    if (!file.read_header(&header) || header.id != chunk3ds::MAIN) return;
    if (header.length < chunk3ds::HEADER_SIZE || header.length > file.size()) {
        debug_output_format("3ds: main chunk length %u does not fit the file of %zu bytes\n", header.length,
                            file.size());
        return;
    }
    read_children(state, header.length);
}

void finish(Scene3ds* scene) {
    // A vertex list replaced after its faces could leave indices beyond it.
    for (MeshNode* mesh : scene->meshes) mesh_check_indices(mesh);
    link_nodes(scene);
    compute_mesh_bounds(scene);
}

}  // namespace

std::unique_ptr<Scene3ds> load_3ds_scene(const char* path) {
    auto scene = std::make_unique<Scene3ds>();
    ChunkFile file;
    if (!file.open(path)) {
        const std::string text = std::string(path) + " not found!";
        MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR);
        return nullptr;
    }
    read_file(file, scene.get());
    file.close();
    finish(scene.get());
    return scene;
}

std::unique_ptr<Scene3ds> load_3ds_scene_memory(const void* data, std::size_t size) {
    auto scene = std::make_unique<Scene3ds>();
    ChunkFile file;
    file.open_memory(data, size);
    read_file(file, scene.get());
    file.close();
    finish(scene.get());
    return scene;
}
