// The surfaces that queued work writes or reads (target, z-buffer, textures read in place). While work
// is queued each of them carries this object as its residency, so a CPU access to any of them (Lock,
// Blt, Flip) or its destruction first runs the queue; running the queue gives them all back.
#pragma once

#include <vector>

#include "platform/d3d/core/surface.h"

namespace soft {

class PendingSurfaces final : public SurfaceResidency {
public:
    using RunFn = void (*)(void* context);
    // run_queue(context) runs the queued work and then calls release_all().
    PendingSurfaces(RunFn run_queue, void* context) : run_(run_queue), context_(context) {}
    ~PendingSurfaces() override { release_all(); }
    PendingSurfaces(const PendingSurfaces&) = delete;
    PendingSurfaces& operator=(const PendingSurfaces&) = delete;

    // Marks s as used by queued work; false when another owner (a GPU backend's cache) already
    // mirrors s, in which case the work must run before the caller returns.
    bool hold(Surface* s);
    void release_all();

    void before_cpu_access(Surface&, bool) override { run_(context_); }
    void surface_destroyed(Surface&) override { run_(context_); }

private:
    RunFn run_;
    void* context_;
    std::vector<Surface*> held_;
};

}  // namespace soft
