#include "platform/d3d/soft/draw_queue.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d/core/surface.h"
#include "platform/d3d/soft/rasterizer.h"

namespace soft {

void DrawQueue::begin(Surface* target)
{
    if (target_ == target) return;
    target_ = target;
    tiles_x_ = (static_cast<int>(target->width()) + kTileSize - 1) / kTileSize;
    tiles_y_ = (static_cast<int>(target->height()) + kTileSize - 1) / kTileSize;
    const std::size_t tiles = static_cast<std::size_t>(tiles_x_) * static_cast<std::size_t>(tiles_y_);
    if (bins_.size() < tiles) bins_.resize(tiles);
}

void DrawQueue::add_draw(Surface* target, const QueuedDraw& d)
{
    const DWORD triangles = triangle_count(d.type, d.indices != nullptr ? d.index_count : d.vertex_count);
    if (triangles == 0 || d.vertex_count == 0) return;
    begin(target);
    Command& c = commands_.emplace_back();
    c.geometry = static_cast<std::uint32_t>(geometry_.size());
    Geometry& g = geometry_.emplace_back();
    g.k = *d.k;
    g.span = d.span;
    g.pair = d.pair;
    g.vertex_stage = *d.vertex_stage;
    g.primitives = *d.primitives;
    g.type = d.type;
    const std::size_t bytes = static_cast<std::size_t>(d.vertex_count) * d.vertex_stage->layout.stride;
    g.vertex_bytes = vertex_bytes_.size();
    vertex_bytes_.insert(vertex_bytes_.end(), d.vertices, d.vertices + bytes);
    g.first_vertex = vertex_total_;
    g.vertex_count = d.vertex_count;
    vertex_total_ += d.vertex_count;
    g.indexed = d.indices != nullptr;
    g.first_index = indices_.size();
    if (g.indexed) indices_.insert(indices_.end(), d.indices, d.indices + d.index_count);
    g.triangles = triangles;
    triangle_total_ += triangles;
}

void DrawQueue::add_clear(Surface* target, Surface* depth, const D3DRECT& rect, DWORD flags, D3DCOLOR color, float z)
{
    if (rect.x1 >= rect.x2 || rect.y1 >= rect.y2) return;
    begin(target);
    Command& c = commands_.emplace_back();
    c.clear = true;
    c.depth = depth;
    c.rect = rect;
    c.flags = flags;
    c.color = color;
    c.z = z;
}

void DrawQueue::push(unsigned tile, std::uintptr_t entry)
{
    Bin& bin = bins_[tile];
    if (bin.entries.empty()) active_.push_back(tile);
    bin.entries.push_back(entry);
}

void DrawQueue::bin_triangle(std::uint32_t command, const SetupTriangle& t)
{
    // The box lies inside the scissor, which lies inside the target.
    const int tx0 = t.x0 / kTileSize;
    const int tx1 = std::min((t.x1 - 1) / kTileSize, tiles_x_ - 1);
    const int ty0 = t.y0 / kTileSize;
    const int ty1 = std::min((t.y1 - 1) / kTileSize, tiles_y_ - 1);
    for (int ty = ty0; ty <= ty1; ++ty) {
        for (int tx = tx0; tx <= tx1; ++tx) {
            const auto tile = static_cast<unsigned>(ty * tiles_x_ + tx);
            Bin& bin = bins_[tile];
            if (bin.last_command != command) {
                push(tile, 2 * static_cast<std::uintptr_t>(command) + 1);
                bin.last_command = command;
            }
            push(tile, reinterpret_cast<std::uintptr_t>(&t));
        }
    }
}

void DrawQueue::bin_clear(std::uint32_t command, const Command& c)
{
    const int tx0 = std::max<LONG>(c.rect.x1, 0) / kTileSize;
    const int tx1 = std::min(static_cast<int>((c.rect.x2 - 1) / kTileSize), tiles_x_ - 1);
    const int ty0 = std::max<LONG>(c.rect.y1, 0) / kTileSize;
    const int ty1 = std::min(static_cast<int>((c.rect.y2 - 1) / kTileSize), tiles_y_ - 1);
    for (int ty = ty0; ty <= ty1; ++ty) {
        for (int tx = tx0; tx <= tx1; ++tx) {
            const auto tile = static_cast<unsigned>(ty * tiles_x_ + tx);
            push(tile, 2 * static_cast<std::uintptr_t>(command) + 1);
            bins_[tile].last_command = command;
        }
    }
}

void DrawQueue::draw_tile(unsigned tile) const
{
    const int x0 = static_cast<int>(tile) % tiles_x_ * kTileSize;
    const int y0 = static_cast<int>(tile) / tiles_x_ * kTileSize;
    const int x1 = x0 + kTileSize;
    const int y1 = y0 + kTileSize;
    const Geometry* draw = nullptr;
    for (std::uintptr_t entry : bins_[tile].entries) {
        if ((entry & 1) == 0) {
            raster_triangle(draw->k, draw->span, draw->pair, *reinterpret_cast<const SetupTriangle*>(entry), x0, y0, x1,
                            y1);
            continue;
        }
        const Command& c = commands_[entry >> 1];
        if (!c.clear) {
            draw = &geometry_[c.geometry];
            continue;
        }
        const RECT r{std::max<LONG>(c.rect.x1, x0), std::max<LONG>(c.rect.y1, y0), std::min<LONG>(c.rect.x2, x1),
                     std::min<LONG>(c.rect.y2, y1)};
        if (r.left >= r.right || r.top >= r.bottom) continue;
        if (c.flags & D3DCLEAR_TARGET) target_->fill_rect(r, c.color, false);
        if ((c.flags & D3DCLEAR_ZBUFFER) && c.depth != nullptr) c.depth->fill_depth(r, c.z);
    }
}

void DrawQueue::run_vertices(void* context, unsigned job)
{
    DrawQueue& q = *static_cast<DrawQueue*>(context);
    const Job& j = q.vertex_jobs_[job];
    const Geometry& g = q.geometry_[j.geometry];
    ClipVertex* clip = q.clip_.get() + g.first_vertex;
    transform_vertices(g.vertex_stage, q.vertex_bytes_.data() + g.vertex_bytes, j.first, j.count, g.primitives.guard,
                       clip);
    project_vertices(g.primitives, clip, j.first, j.count, q.screen_.get() + g.first_vertex);
}

void DrawQueue::run_assembly(void* context, unsigned job)
{
    DrawQueue& q = *static_cast<DrawQueue*>(context);
    const Job& j = q.assembly_jobs_[job];
    const Geometry& g = q.geometry_[j.geometry];
    AssemblyInput in;
    in.type = g.type;
    in.clip = q.clip_.get() + g.first_vertex;
    in.screen = q.screen_.get() + g.first_vertex;
    in.indices = g.indexed ? q.indices_.data() + g.first_index : nullptr;
    std::vector<SetupTriangle>& out = q.assembled_[job];
    out.clear();
    assemble_triangles(g.primitives, g.k, g.span, in, j.first, j.count, &out);
}

void DrawQueue::run_tile(void* context, unsigned job)
{
    const DrawQueue& q = *static_cast<const DrawQueue*>(context);
    q.draw_tile(q.active_[job]);
}

void DrawQueue::run(TilePool& pool)
{
    if (commands_.empty()) return;
    // The vertex stage of every draw, in blocks of vertices.
    if (vertex_total_ > vertex_capacity_) {
        vertex_capacity_ = std::max(vertex_total_, 2 * vertex_capacity_);
        clip_.reset(new ClipVertex[vertex_capacity_]);
        screen_.reset(new ScreenVertex[vertex_capacity_]);
    }
    vertex_jobs_.clear();
    assembly_jobs_.clear();
    for (std::size_t i = 0; i < geometry_.size(); ++i) {
        Geometry& g = geometry_[i];
        const auto index = static_cast<std::uint32_t>(i);
        for (DWORD first = 0; first < g.vertex_count; first += kVerticesPerJob) {
            vertex_jobs_.push_back(Job{index, first, std::min(kVerticesPerJob, g.vertex_count - first)});
        }
        g.job_first = static_cast<std::uint32_t>(assembly_jobs_.size());
        for (DWORD first = 0; first < g.triangles; first += kTrianglesPerJob) {
            assembly_jobs_.push_back(Job{index, first, std::min(kTrianglesPerJob, g.triangles - first)});
        }
        g.job_end = static_cast<std::uint32_t>(assembly_jobs_.size());
    }
    pool.run(static_cast<unsigned>(vertex_jobs_.size()), &DrawQueue::run_vertices, this);
    // Assembly and set-up, in blocks of triangles.
    if (assembled_.size() < assembly_jobs_.size()) assembled_.resize(assembly_jobs_.size());
    pool.run(static_cast<unsigned>(assembly_jobs_.size()), &DrawQueue::run_assembly, this);
    // Binning in submission order.
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        const auto command = static_cast<std::uint32_t>(i);
        const Command& c = commands_[i];
        if (c.clear) {
            bin_clear(command, c);
            continue;
        }
        const Geometry& g = geometry_[c.geometry];
        for (std::uint32_t j = g.job_first; j < g.job_end; ++j) {
            for (const SetupTriangle& t : assembled_[j]) bin_triangle(command, t);
        }
    }
    // The tiles.
    pool.run(static_cast<unsigned>(active_.size()), &DrawQueue::run_tile, this);
    for (unsigned tile : active_) {
        bins_[tile].entries.clear();
        bins_[tile].last_command = ~0u;
    }
    active_.clear();
    commands_.clear();
    geometry_.clear();
    vertex_bytes_.clear();
    indices_.clear();
    vertex_total_ = 0;
    triangle_total_ = 0;
    target_ = nullptr;
}

}  // namespace soft
