// A gentle look-ahead peak limiter for a piece that loops: the gain comes down smoothly over 3 ms
// before any true peak (4× oversampled) that would pass the ceiling and recovers over about 150 ms.
// The piece is treated as endless, so the gain where it ends flows into the gain where it starts
// again and the loop seam gets no step.
#pragma once

#include "loudness.h"

namespace soundtrack {

// The true peak of each frame (the larger of the two channels), which the limiter looks ahead at.
std::vector<float> limiter_frame_peaks(const Stereo& audio);
// Scales audio by gain and limits it to ceiling (linear, 1 = full scale), in place; peaks are the
// frame peaks of audio before the gain.
void limiter_apply_looped(Stereo& audio, const std::vector<float>& peaks, float gain, float ceiling, int rate);

}  // namespace soundtrack
