// Rasterisation of set-up triangles: triangles are binned into 64 × 64 pixel tiles of the target, and
// the tiles are shared out to the worker threads; within a tile the triangles run in submission order,
// row by row (narrow spans two rows at a time where a two-row loop exists), covered spans going to the
// pixel loop. Small draws run on the calling thread without binning. Lines (wireframe fill, line lists
// and strips) and points run on the calling thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/soft/span_kernels.h"
#include "platform/d3d/soft/tile_pool.h"
#include "platform/d3d/soft/triangle_setup.h"

namespace soft {

constexpr int kTileSize = 64;

class Rasterizer {
public:
    // Draws triangles[0..count) into k's target; parallel = false keeps everything on this thread. pair,
    // where not null, draws narrow spans two rows at a time.
    void draw_triangles(const DrawConstants& k, SpanFn span, SpanPairFn pair, const SetupTriangle* triangles,
                        std::size_t count, TilePool& pool, bool parallel);

private:
    struct Job {
        Rasterizer* self;
        const DrawConstants* k;
        SpanFn span;
        SpanPairFn pair;
        const SetupTriangle* triangles;
    };
    static void run_tile(void* context, unsigned job);

    int tiles_x_ = 0;
    std::vector<std::vector<std::uint32_t>> bins_;
    std::vector<unsigned> active_;  // tiles with work, in order
};

// A line from a to b (LASTPIXEL draws the end pixel) and a point, both through the pixel loop.
void draw_line(const DrawConstants& k, SpanFn span, const ScreenVertex& a, const ScreenVertex& b, bool last_pixel);
void draw_point(const DrawConstants& k, SpanFn span, const ScreenVertex& v);

}  // namespace soft
