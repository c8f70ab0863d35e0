// A wobbling, dented sphere: a finely divided unit sphere whose every vertex moves in and out along its
// rest direction. Eight invisible bumper spheres orbit the centre on slowly drifting paths and push the
// surface in wherever they poke through it; springs pull it back, and a 3 × 3 neighbourhood average
// every frame smooths the dents into soft bulges. It is drawn twice: with a base texture mapped by
// latitude, then additively with a reflection texture as a sphere map that follows the deforming
// normals. Construction draws 51 values from the program-wide generator; the first render draws 16
// more as the bumpers activate. Rendering leaves light 0 set (not enabled) for whatever comes next.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/vector3.h"
#include "scene3ds/scene_vertex.h"

constexpr int SOFT_BLOB_ALLOCATED_VERTICES = 1296;
constexpr int SOFT_BLOB_VERTEX_COUNT = 1091;
constexpr int SOFT_BLOB_INDEX_COUNT = 6144;
constexpr int SOFT_BLOB_BUMPERS = 8;
constexpr int SOFT_BLOB_SLICES = 32;  // drawn slices around the y axis; slice 32 repeats slice 0
constexpr int SOFT_BLOB_RINGS = 33;   // rings built between the poles; 32 and 33 are never drawn
constexpr int SOFT_BLOB_NORTH_POLE = 0;
constexpr int SOFT_BLOB_SOUTH_POLE = 1090;
constexpr float SOFT_BLOB_LOWEST_OFFSET = -0.8f;

struct BlobNode {
    float offset = 0.0f;    // radial displacement d
    float smoothed = 0.0f;  // the neighbourhood average of this frame
    float speed = 0.0f;     // radial velocity v
    Vector3 rest_position;  // P
    float rest_radius = 0.0f;  // R = |P|
    Vector3 rest_normal;    // N, never updated
    std::int32_t neighbours[8] = {};
};

struct BlobBumper {
    float radius = 0.0f;
    float distance = 0.0f;  // of its centre from the blob's centre
    Vector3 direction;      // unit vector (zero until the first move)
    float active = 0.0f;    // 0 or 1.0
    float reserved = 0.0f;
    float ax = 0.0f, ay = 0.0f, az = 0.0f;  // angles, radians
    float sx = 0.0f, sy = 0.0f, sz = 0.0f;  // angular speeds
};

struct SoftBlob {
    std::vector<SceneVertex> vertices;     // SOFT_BLOB_ALLOCATED_VERTICES, the first vertex_count used
    std::vector<std::uint16_t> indices;    // SOFT_BLOB_INDEX_COUNT
    std::vector<BlobNode> nodes;           // one per used vertex
    int vertex_count = 0;
    int index_count = 0;
    BlobBumper bumpers[SOFT_BLOB_BUMPERS];
    std::string base_texture;
    std::string reflection_texture;
    float step = 0.0f;  // this frame's demo-time increment × 30
};

// The program-wide instance the three operations below work on.
SoftBlob& soft_blob();

// Loads both textures (32 bits, 8 alpha bits), builds the sphere, the nodes, the neighbour table and
// the bumpers.
void soft_blob_create(const char* base_texture, const char* reflection_texture);
// step = delta × 30, delta being the frame's demo-time increment in ticks.
void soft_blob_update(float delta);
// Sets light 0 and the world transform to a translation, moves the bumpers, simulates the surface,
// recomputes normals and the sphere map, and draws the base and the reflection pass.
void soft_blob_render(float x, float y, float z);

// The same operations on a given instance, and the steps of the render on their own.
void soft_blob_create(SoftBlob* blob, const char* base_texture, const char* reflection_texture);
void soft_blob_update(SoftBlob* blob, float delta);
void soft_blob_render(SoftBlob* blob, float x, float y, float z);
void soft_blob_move_bumpers(SoftBlob* blob);
void soft_blob_simulate(SoftBlob* blob);
// The vertex at a slice (0 … 32) and ring (0 … 33) as the index list sees it: ring 0 is the north pole
// and ring 32 the south pole.
int soft_blob_vertex_at(int slice, int ring);
