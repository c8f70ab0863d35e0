// The work queued for one render target: clears, and draws with copies of their vertices and indices
// and of everything their vertex stage, assembly and pixel loops take from the device state. Running
// the queue (before the CPU touches a surface the queued work writes or reads, when the target changes,
// or when the queue is full) shares all of it among the pool's threads in three steps: the vertices of
// every draw in blocks, then its triangles in blocks (assembly and set-up), then, after the triangles
// are binned into 128 × 128 pixel tiles in submission order, the tiles. The threads meet three times per
// run instead of once per draw, and small draws are shared out like large ones. Within a tile
// everything runs in submission order and every value is computed as a draw at the time of the call
// would compute it, so the picture does not depend on the thread count.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/d3d/d3d_types.h"
#include "platform/d3d/soft/primitive_assembly.h"
#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/tile_pool.h"
#include "platform/d3d/soft/transform_lighting.h"
#include "platform/d3d/soft/triangle_setup.h"

class Surface;

namespace soft {

constexpr int kTileSize = 128;

// One triangle draw as the backend hands it to the queue.
struct QueuedDraw {
    const DrawConstants* k = nullptr;
    SpanFn span = nullptr;
    SpanPairFn pair = nullptr;
    const VertexStage* vertex_stage = nullptr;
    const PrimitiveConstants* primitives = nullptr;
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    const BYTE* vertices = nullptr;
    DWORD vertex_count = 0;
    const WORD* indices = nullptr;  // null: not indexed
    DWORD index_count = 0;
};

class DrawQueue {
public:
    bool empty() const { return commands_.empty(); }
    // The target the queued work draws into (null when empty); work for another target needs a run first.
    Surface* target() const { return target_; }
    // True when the queue holds as much as it should before it is run.
    bool full() const { return vertex_total_ >= kMaxVertices || triangle_total_ >= kMaxTriangles; }

    // Queues a draw of triangles (solid fill) into target, copying what it points to.
    void add_draw(Surface* target, const QueuedDraw& draw);
    // Queues a clear of rect (already inside the target) of colour and/or depth (depth may be null).
    void add_clear(Surface* target, Surface* depth, const D3DRECT& rect, DWORD flags, D3DCOLOR color, float z);

    // Draws everything queued, on the pool's threads, and empties the queue.
    void run(TilePool& pool);

private:
    static constexpr std::size_t kMaxVertices = 1u << 18;
    static constexpr std::size_t kMaxTriangles = 1u << 17;
    static constexpr DWORD kVerticesPerJob = 2048;
    static constexpr DWORD kTrianglesPerJob = 1024;

    struct Command {
        bool clear = false;
        // A draw: its entry in geometry_.
        std::uint32_t geometry = 0;
        // A clear.
        Surface* depth = nullptr;
        D3DRECT rect{};
        DWORD flags = 0;
        D3DCOLOR color = 0;
        float z = 1.0f;
    };
    struct Geometry {
        DrawConstants k;
        SpanFn span = nullptr;
        SpanPairFn pair = nullptr;
        VertexStage vertex_stage;
        PrimitiveConstants primitives;
        D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
        std::size_t vertex_bytes = 0;  // offset into vertex_bytes_
        std::size_t first_vertex = 0;  // offset into clip_ and screen_
        DWORD vertex_count = 0;
        std::size_t first_index = 0;   // offset into indices_
        bool indexed = false;
        DWORD triangles = 0;
        std::uint32_t job_first = 0, job_end = 0;  // assembly jobs
    };
    struct Job {
        std::uint32_t geometry;
        DWORD first, count;
    };
    struct Bin {
        // Triangle pointers, and command markers (2·command + 1) before the triangles of a draw.
        std::vector<std::uintptr_t> entries;
        std::uint32_t last_command = ~0u;
    };

    void begin(Surface* target);
    void push(unsigned tile, std::uintptr_t entry);
    void bin_triangle(std::uint32_t command, const SetupTriangle& t);
    void bin_clear(std::uint32_t command, const Command& c);
    static void run_vertices(void* context, unsigned job);
    static void run_assembly(void* context, unsigned job);
    static void run_tile(void* context, unsigned job);
    void draw_tile(unsigned tile) const;

    Surface* target_ = nullptr;
    int tiles_x_ = 0;
    int tiles_y_ = 0;
    std::vector<Command> commands_;
    std::vector<Geometry> geometry_;
    std::vector<BYTE> vertex_bytes_;
    std::vector<WORD> indices_;
    std::size_t vertex_total_ = 0;
    std::size_t triangle_total_ = 0;
    // Vertex-stage output of every queued draw (no initialisation: every slot is written before it is read).
    std::unique_ptr<ClipVertex[]> clip_;
    std::unique_ptr<ScreenVertex[]> screen_;
    std::size_t vertex_capacity_ = 0;
    std::vector<Job> vertex_jobs_;
    std::vector<Job> assembly_jobs_;
    std::vector<std::vector<SetupTriangle>> assembled_;  // per assembly job
    std::vector<Bin> bins_;
    std::vector<unsigned> active_;  // tiles with entries
};

}  // namespace soft
