#include "platform/d3d/soft/draw_queue.h"

#include <algorithm>

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

void DrawQueue::push(unsigned tile, std::uint32_t command, std::uint32_t entry)
{
    Bin& bin = bins_[tile];
    if (bin.entries.empty()) active_.push_back(tile);
    if (bin.last_command != command) {
        bin.entries.push_back(command | kCommandBit);
        bin.last_command = command;
    }
    if (entry != (command | kCommandBit)) bin.entries.push_back(entry);
}

void DrawQueue::add_triangles(Surface* target, const DrawConstants& k, SpanFn span, SpanPairFn pair,
                              const SetupTriangle* triangles, std::size_t count)
{
    if (count == 0) return;
    begin(target);
    const auto command = static_cast<std::uint32_t>(commands_.size());
    Command& c = commands_.emplace_back();
    c.k = k;
    c.span = span;
    c.pair = pair;
    for (std::size_t i = 0; i < count; ++i) {
        const SetupTriangle& t = triangles[i];
        const auto index = static_cast<std::uint32_t>(triangles_.size());
        triangles_.push_back(t);
        // The box lies inside the scissor, which lies inside the target.
        const int tx0 = t.x0 / kTileSize;
        const int tx1 = std::min((t.x1 - 1) / kTileSize, tiles_x_ - 1);
        const int ty0 = t.y0 / kTileSize;
        const int ty1 = std::min((t.y1 - 1) / kTileSize, tiles_y_ - 1);
        for (int ty = ty0; ty <= ty1; ++ty) {
            for (int tx = tx0; tx <= tx1; ++tx) push(static_cast<unsigned>(ty * tiles_x_ + tx), command, index);
        }
    }
}

void DrawQueue::add_clear(Surface* target, Surface* depth, const D3DRECT& rect, DWORD flags, D3DCOLOR color, float z)
{
    if (rect.x1 >= rect.x2 || rect.y1 >= rect.y2) return;
    begin(target);
    const auto command = static_cast<std::uint32_t>(commands_.size());
    Command& c = commands_.emplace_back();
    c.clear = true;
    c.depth = depth;
    c.rect = rect;
    c.flags = flags;
    c.color = color;
    c.z = z;
    const int tx0 = std::max<LONG>(rect.x1, 0) / kTileSize;
    const int tx1 = std::min(static_cast<int>((rect.x2 - 1) / kTileSize), tiles_x_ - 1);
    const int ty0 = std::max<LONG>(rect.y1, 0) / kTileSize;
    const int ty1 = std::min(static_cast<int>((rect.y2 - 1) / kTileSize), tiles_y_ - 1);
    for (int ty = ty0; ty <= ty1; ++ty) {
        for (int tx = tx0; tx <= tx1; ++tx) push(static_cast<unsigned>(ty * tiles_x_ + tx), command, command | kCommandBit);
    }
}

void DrawQueue::draw_tile(unsigned tile) const
{
    const int x0 = static_cast<int>(tile) % tiles_x_ * kTileSize;
    const int y0 = static_cast<int>(tile) / tiles_x_ * kTileSize;
    const int x1 = x0 + kTileSize;
    const int y1 = y0 + kTileSize;
    const Command* draw = nullptr;
    for (std::uint32_t entry : bins_[tile].entries) {
        if ((entry & kCommandBit) == 0) {
            raster_triangle(draw->k, draw->span, draw->pair, triangles_[entry], x0, y0, x1, y1);
            continue;
        }
        const Command& c = commands_[entry & ~kCommandBit];
        if (!c.clear) {
            draw = &c;
            continue;
        }
        const RECT r{std::max<LONG>(c.rect.x1, x0), std::max<LONG>(c.rect.y1, y0), std::min<LONG>(c.rect.x2, x1),
                     std::min<LONG>(c.rect.y2, y1)};
        if (r.left >= r.right || r.top >= r.bottom) continue;
        if (c.flags & D3DCLEAR_TARGET) target_->fill_rect(r, c.color, false);
        if ((c.flags & D3DCLEAR_ZBUFFER) && c.depth != nullptr) c.depth->fill_depth(r, c.z);
    }
}

void DrawQueue::run_tile(void* context, unsigned job)
{
    const DrawQueue& q = *static_cast<const DrawQueue*>(context);
    q.draw_tile(q.active_[job]);
}

void DrawQueue::run(TilePool& pool)
{
    if (commands_.empty()) return;
    pool.run(static_cast<unsigned>(active_.size()), &DrawQueue::run_tile, this);
    for (unsigned tile : active_) {
        bins_[tile].entries.clear();
        bins_[tile].last_command = ~0u;
    }
    active_.clear();
    commands_.clear();
    triangles_.clear();
    target_ = nullptr;
}

}  // namespace soft
