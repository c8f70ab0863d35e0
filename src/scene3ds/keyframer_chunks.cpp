// The keyframer chunks: the frame segment, the node chunks with their node ids and headers (which
// select or create the node that the chunk animates), instance names, pivots and the five kinds of
// track. Camera-target and spotlight node chunks always create target nodes; other headers look their
// name up among the nodes created so far and make a dummy node when none matches.
#include <algorithm>
#include <bit>
#include <cstring>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "platform/debug_output.h"
#include "scene3ds/chunk_ids.h"
#include "scene3ds/reader_state.h"

namespace {

// A node chunk: a fresh selection, and the chunk's position among the keyframer's nodes as its node
// id until a node id chunk says otherwise (files without node id chunks refer to parents that way).
void begin_node_chunk(ReaderState& state) {
    state.new_node_pending = false;
    state.keyframe_node = nullptr;
    state.dummy = nullptr;
    state.node_id = state.keyframer_node_count++;
}

void read_object_node(ReaderState& state, std::size_t body_end) {
    begin_node_chunk(state);
    read_children(state, body_end);
}

void read_target_node(ReaderState& state, std::size_t body_end, bool spotlight) {
    begin_node_chunk(state);
    Scene3ds& scene = *state.scene;
    TargetNode* target = scene.add_target();
    state.new_node_pending = true;
    state.keyframe_node = target;
    int& count = spotlight ? scene.spot_node_count : scene.camera_target_count;
    auto& table = spotlight ? scene.spot_nodes : scene.camera_targets;
    if (count < SCENE_TARGET_TABLE_SIZE)
        table[static_cast<std::size_t>(count++)] = target;
    else
        debug_output_format("3ds: more than %d %s nodes, the rest are not linked\n", SCENE_TARGET_TABLE_SIZE,
                            spotlight ? "spotlight" : "camera target");
    if (!spotlight) OutputDebugStringA("camera target\n");
    read_children(state, body_end);
}

void read_frame_segment(ReaderState& state) {
    ChunkFile& file = *state.file;
    const std::uint32_t start = file.read_u32();
    const std::uint32_t end = file.read_u32();
    if (file.failed()) return;
    state.scene->start_frame = static_cast<std::int32_t>(start);
    state.scene->end_frame = static_cast<std::int32_t>(end);
}

void read_node_id(ReaderState& state) {
    const std::int16_t id = state.file->read_i16();
    if (!state.file->failed()) state.node_id = id;
}

void read_node_header(ReaderState& state) {
    ChunkFile& file = *state.file;
    char name[SCENE_NODE_NAME_SIZE];
    file.read_name(name, sizeof name);
    file.read_u16();  // flags
    file.read_u16();
    const std::int16_t parent_id = file.read_i16();
    if (file.failed()) {
        state.keyframe_node = nullptr;
        state.new_node_pending = false;
        return;
    }

    SceneNode* node = nullptr;
    if (state.new_node_pending && state.keyframe_node != nullptr) {
        node = state.keyframe_node;
        state.node_names.rename(node, name);
    } else {
        node = state.node_names.find(state.scene->node_registry, name);
        if (node == nullptr) {
            DummyNode* dummy = state.scene->add_dummy();
            state.node_names.rename(dummy, name);
            state.dummy = dummy;
            node = dummy;
        }
    }
    state.new_node_pending = false;
    state.keyframe_node = node;
    node->parent_id = parent_id;
    node->node_id = state.node_id;
}

void read_instance_name(ReaderState& state) {
    if (state.dummy == nullptr) return;
    char name[SCENE_NODE_NAME_SIZE];
    state.file->read_name(name, sizeof name);
    if (!state.file->failed()) state.node_names.rename(state.dummy, name);
}

void read_pivot(ReaderState& state) {
    const Vector3 pivot = read_point(*state.file);
    if (state.file->failed() || state.keyframe_node == nullptr) return;
    if (state.keyframe_node->kind == NodeKind::Mesh) {
        auto* mesh = static_cast<MeshNode*>(state.keyframe_node);
        mesh->pivot = pivot;
        for (SceneVertex& v : mesh->vertices) {
            v.x -= pivot.x;
            v.y -= pivot.y;
            v.z -= pivot.z;
        }
    } else if (state.keyframe_node->kind == NodeKind::Dummy) {
        static_cast<DummyNode*>(state.keyframe_node)->pivot = pivot;
    }
}

// Reads the track header and calls read_key(frame) for each key, after skipping the key's spline
// parameters (one float for every bit set in the word that follows the 16-bit frame number). Stops
// at the first key that does not fit the chunk; that key is not kept.
template <typename Key, typename ReadValue>
void read_keys(ChunkFile& file, std::vector<Key>* keys, std::size_t smallest_value, ReadValue read_value) {
    keys->clear();
    file.skip(10);
    const std::uint32_t count = file.read_u32();
    if (file.failed()) return;
    keys->reserve(std::min<std::size_t>(count, file.remaining() / (6 + smallest_value)));
    for (std::uint32_t i = 0; i < count; ++i) {
        Key key;
        key.frame = file.read_u16();
        const std::uint32_t spline = file.read_u32();
        file.skip(4u * static_cast<unsigned>(std::popcount(spline)));
        read_value(key);
        if (file.failed()) return;
        keys->push_back(key);
    }
}

void read_position_track(ReaderState& state) {
    SceneNode* node = state.keyframe_node;
    if (node == nullptr) return;
    ChunkFile& file = *state.file;
    read_keys(file, &node->position_track.keys, 12, [&file](PositionKey& key) { key.position = read_point(file); });
    if (!node->position_track.empty()) {
        const Vector3& p = node->position_track.keys.front().position;
        matrix_translation(&node->matrix, p.x, p.y, p.z);
    }
}

RotationTrack* rotation_track_of(SceneNode* node) {
    if (node == nullptr) return nullptr;
    if (node->kind == NodeKind::Mesh) return &static_cast<MeshNode*>(node)->rotation_track;
    if (node->kind == NodeKind::Dummy) return &static_cast<DummyNode*>(node)->rotation_track;
    return nullptr;
}

ScaleTrack* scale_track_of(SceneNode* node) {
    if (node == nullptr) return nullptr;
    if (node->kind == NodeKind::Mesh) return &static_cast<MeshNode*>(node)->scale_track;
    if (node->kind == NodeKind::Dummy) return &static_cast<DummyNode*>(node)->scale_track;
    return nullptr;
}

CameraNode* camera_of(SceneNode* node) {
    return node != nullptr && node->kind == NodeKind::Camera ? static_cast<CameraNode*>(node) : nullptr;
}

// Each key in the file is relative to the one before; the stored keys accumulate them.
void read_rotation_track(ReaderState& state) {
    RotationTrack* track = rotation_track_of(state.keyframe_node);
    if (track == nullptr) return;
    ChunkFile& file = *state.file;
    read_keys(file, &track->keys, 16, [&file, track](RotationKey& key) {
        const float angle = file.read_float();
        const Vector3 axis = read_point(file);
        Quaternion q;
        quaternion_rotation_axis(&q, &axis, angle);
        if (track->keys.empty())
            key.rotation = q;
        else
            quaternion_multiply(&key.rotation, &track->keys.back().rotation, &q);
    });
}

void read_scale_track(ReaderState& state) {
    ScaleTrack* track = scale_track_of(state.keyframe_node);
    if (track == nullptr) return;
    ChunkFile& file = *state.file;
    read_keys(file, &track->keys, 12, [&file](ScaleKey& key) { key.scale = read_point(file) * 100.0f; });
}

void read_scalar_track(ReaderState& state, ScalarTrack* track) {
    if (track == nullptr) return;
    ChunkFile& file = *state.file;
    read_keys(file, &track->keys, 4, [&file](ScalarKey& key) { key.value = file.read_float(); });
}

}  // namespace

bool read_keyframer_chunk(ReaderState& state, std::uint16_t id, std::size_t body_end) {
    switch (id) {
        case chunk3ds::KEYFRAMER:
            state.new_node_pending = false;
            read_children(state, body_end);
            return true;
        case chunk3ds::FRAME_SEGMENT: read_frame_segment(state); return true;
        case chunk3ds::AMBIENT_NODE:
            // Not read, but it counts among the keyframer's nodes.
            begin_node_chunk(state);
            return true;
        case chunk3ds::OBJECT_NODE:
        case chunk3ds::CAMERA_NODE:
        case chunk3ds::LIGHT_NODE:
        case chunk3ds::LIGHT_TARGET_NODE: read_object_node(state, body_end); return true;
        case chunk3ds::CAMERA_TARGET_NODE: read_target_node(state, body_end, false); return true;
        case chunk3ds::SPOTLIGHT_NODE: read_target_node(state, body_end, true); return true;
        case chunk3ds::NODE_ID: read_node_id(state); return true;
        case chunk3ds::NODE_HEADER: read_node_header(state); return true;
        case chunk3ds::INSTANCE_NAME: read_instance_name(state); return true;
        case chunk3ds::PIVOT: read_pivot(state); return true;
        case chunk3ds::POSITION_TRACK: read_position_track(state); return true;
        case chunk3ds::ROTATION_TRACK: read_rotation_track(state); return true;
        case chunk3ds::SCALE_TRACK: read_scale_track(state); return true;
        case chunk3ds::FOV_TRACK: {
            CameraNode* camera = camera_of(state.keyframe_node);
            read_scalar_track(state, camera != nullptr ? &camera->fov_track : nullptr);
            return true;
        }
        case chunk3ds::ROLL_TRACK: {
            CameraNode* camera = camera_of(state.keyframe_node);
            read_scalar_track(state, camera != nullptr ? &camera->roll_track : nullptr);
            return true;
        }
        default: return false;
    }
}
