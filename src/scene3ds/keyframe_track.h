// Keyframe tracks of scene nodes: the keys the reader takes from the keyframer, in file order, and
// the track that holds them. Frames are whole keyframe frames (30 per second); values are already in
// the scene's units and axes. Rotation keys hold the accumulated absolute rotation up to that key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "math/quaternion.h"
#include "math/vector3.h"

struct PositionKey {
    std::int32_t frame = 0;
    Vector3 position;
};

struct RotationKey {
    std::int32_t frame = 0;
    Quaternion rotation;
};

struct ScaleKey {
    std::int32_t frame = 0;
    Vector3 scale;
};

// Field of view (degrees) or roll.
struct ScalarKey {
    std::int32_t frame = 0;
    float value = 0.0f;
};

template <typename Key>
struct Track {
    std::vector<Key> keys;

    std::size_t count() const { return keys.size(); }
    bool empty() const { return keys.empty(); }
};

using PositionTrack = Track<PositionKey>;
using RotationTrack = Track<RotationKey>;
using ScaleTrack = Track<ScaleKey>;
using ScalarTrack = Track<ScalarKey>;
