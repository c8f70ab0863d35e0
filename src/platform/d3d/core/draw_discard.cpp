#include "platform/d3d/draw_discard.h"

#include <atomic>

namespace {
std::atomic<bool> g_discarded{false};
}  // namespace

void d3d_set_draws_discarded(bool discarded) { g_discarded.store(discarded, std::memory_order_relaxed); }

bool d3d_draws_discarded() { return g_discarded.load(std::memory_order_relaxed); }
