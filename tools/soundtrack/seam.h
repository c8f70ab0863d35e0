// Makes the piece loop without a seam: the piece was rendered with its opening played once more after
// its end, so that stretch holds what really follows the last bar (the tails of its notes, reverb and
// echoes over the opening). Folding that continuation into the opening, fading from it to the clean
// opening over the stretch, makes the jump from the end back to the start sound like the piece going on.
#pragma once

#include <cstdint>

#include "loudness.h"

namespace soundtrack {

// rendered holds length + extension frames; on return it holds length frames.
void seam_fold(Stereo& rendered, std::int64_t length, std::int64_t extension);

}  // namespace soundtrack
