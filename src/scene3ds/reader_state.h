// Internal to the 3DS reader: the state one load carries from chunk to chunk (the records most
// recently created of each kind, the current colour and percentage, the keyframer's node selection),
// the chunk walker and the handler families it dispatches to. Not for use outside the reader.
#pragma once

#include <cstddef>
#include <cstdint>

#include "math/vector3.h"
#include "scene3ds/chunk_file.h"
#include "scene3ds/node_name_index.h"
#include "scene3ds/scene.h"

// Lengths in the file are scaled by 0.01 (the float 0.0099999998).
constexpr float FILE_UNIT_SCALE = 0.0099999998f;
static_assert(FILE_UNIT_SCALE == 0.01f, "the unit scale is the float nearest to 0.01");

// Containers nest a handful of levels in real files; deeper nesting is skipped so that a malformed
// file cannot exhaust the stack.
constexpr int READER_MAX_NESTING = 64;

struct ReaderState {
    ChunkFile* file = nullptr;
    Scene3ds* scene = nullptr;

    char current_name[SCENE_NODE_NAME_SIZE] = {};
    MeshNode* mesh = nullptr;
    CameraNode* camera = nullptr;
    LightNode* light = nullptr;
    Material* material = nullptr;
    DummyNode* dummy = nullptr;          // created by this node chunk's header, if any
    SceneNode* keyframe_node = nullptr;  // the node this node chunk animates
    MaterialMap* map = nullptr;
    ColorRgb colour;
    float percentage = 0.0f;
    std::int32_t node_id = 0;
    bool new_node_pending = false;
    std::int32_t keyframer_node_count = 0;  // node chunks seen, the node id of one without its own
    NodeNameIndex node_names;
    int nesting = 0;
};

// Reads a point: (x, y, z) in file units become (x, z, y) × 0.01.
Vector3 read_point(ChunkFile& file);

// Walks the chunks from the file's position up to end, dispatching each by id. A chunk whose length
// is below 6 or runs past end ends the walk; after each chunk the file is at the chunk's end, however
// much its handler read.
void read_children(ReaderState& state, std::size_t end);

// Handler families; each returns false when it does not know the id. body_end is the chunk's end.
bool read_editor_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end);
bool read_material_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end);
bool read_keyframer_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end);

// Drops all of a mesh's faces when one of its indices is at or beyond its vertex count (with a
// diagnostic); returns true when the faces were kept.
bool mesh_check_indices(MeshNode* mesh);
