#include "platform/d3d/soft/pending_surfaces.h"

namespace soft {

bool PendingSurfaces::hold(Surface* s)
{
    if (s == nullptr) return true;
    if (s->residency() == this) return true;
    if (s->residency() != nullptr) return false;
    s->set_residency(this);
    held_.push_back(s);
    return true;
}

void PendingSurfaces::release_all()
{
    for (Surface* s : held_) {
        if (s->residency() == this) s->set_residency(nullptr);
    }
    held_.clear();
}

}  // namespace soft
