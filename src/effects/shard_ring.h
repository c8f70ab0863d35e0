// A flat starburst of blade-shaped shards radiating from a common centre: every shard spins about the
// centre at its own slow rate (per frame, not per second) and its tip shoots out and retracts over and
// over with a random phase, so the ring flickers like a spinning star. Untextured, vertex-coloured:
// white at the centre, translucent grey at the sides and the tip. Construction draws 4 values per
// shard from the program-wide generator.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d/d3d.h"

struct ShardRing {
    int shard_count = 0;
    std::vector<D3DLVERTEX> rest_vertices;  // 6 per shard, never changed after construction
    std::vector<D3DLVERTEX> vertices;       // the animated copy that is drawn
    int vertex_count = 0;
    std::vector<float> tip_phase;   // radians, 0 … π
    std::vector<float> spin_speed;  // radians per frame
    std::vector<float> spin_angle;  // radians, 0 … 2π
};

constexpr D3DCOLOR SHARD_TIP_COLOUR = 0x44444444;
constexpr D3DCOLOR SHARD_SIDE_COLOUR = 0x88888888;
constexpr D3DCOLOR SHARD_CENTRE_COLOUR = 0xFFFFFFFF;

// A ring of `shard_count` shards (64 in the demo); none for a count below 1.
std::unique_ptr<ShardRing> shard_ring_create(int shard_count);
// Advances every shard by `seconds` of tip phase and one frame of spin and rebuilds the drawn vertices.
void shard_ring_update(ShardRing* ring, float seconds);
// One triangle list of all shards.
void shard_ring_draw(ShardRing* ring);
