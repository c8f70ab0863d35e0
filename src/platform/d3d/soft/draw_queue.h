// The work queued for one render target: clears and set-up triangles with their draw constants, binned
// into 64 × 64 pixel tiles of the target as they arrive and rasterised together when the queue is run
// (before the CPU touches a surface the queued work writes or reads, when the target changes, or when
// the queue is full). The threads then meet once per run instead of once per draw, and small draws are
// shared out like large ones. Within a tile everything runs in submission order, so the picture is the
// one that drawing each call at once would give, whatever the thread count.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/d3d_types.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/tile_pool.h"
#include "platform/d3d/soft/triangle_setup.h"

class Surface;

namespace soft {

constexpr int kTileSize = 64;

class DrawQueue {
public:
    bool empty() const { return commands_.empty(); }
    // The target the queued work draws into (null when empty); work for another target needs a run first.
    Surface* target() const { return target_; }
    // True when the queue holds as many triangles as it should before it is run.
    bool full() const { return triangles_.size() >= kMaxTriangles; }

    // Queues triangles[0..count) of a draw into k's target (target: its surface, for the tile grid).
    void add_triangles(Surface* target, const DrawConstants& k, SpanFn span, SpanPairFn pair,
                       const SetupTriangle* triangles, std::size_t count);
    // Queues a clear of rect (already inside the target) of colour and/or depth (depth may be null).
    void add_clear(Surface* target, Surface* depth, const D3DRECT& rect, DWORD flags, D3DCOLOR color, float z);

    // Draws everything queued, on the pool's threads, and empties the queue.
    void run(TilePool& pool);

private:
    static constexpr std::size_t kMaxTriangles = 1u << 16;
    // A bin entry: a triangle index, or a command (draw or clear) index with kCommandBit set; a tile's
    // triangles follow the draw command they belong to.
    static constexpr std::uint32_t kCommandBit = 0x80000000u;

    struct Command {
        bool clear = false;
        // A draw.
        DrawConstants k;
        SpanFn span = nullptr;
        SpanPairFn pair = nullptr;
        // A clear.
        Surface* depth = nullptr;
        D3DRECT rect{};
        DWORD flags = 0;
        D3DCOLOR color = 0;
        float z = 1.0f;
    };
    struct Bin {
        std::vector<std::uint32_t> entries;
        std::uint32_t last_command = ~0u;  // the command whose marker was pushed last
    };

    void begin(Surface* target);
    void push(unsigned tile, std::uint32_t command, std::uint32_t entry);
    static void run_tile(void* context, unsigned job);
    void draw_tile(unsigned tile) const;

    Surface* target_ = nullptr;
    int tiles_x_ = 0;
    int tiles_y_ = 0;
    std::vector<Command> commands_;
    std::vector<SetupTriangle> triangles_;
    std::vector<Bin> bins_;
    std::vector<unsigned> active_;  // tiles with entries
};

}  // namespace soft
