// Plays the score through FluidSynth with a General MIDI soundfont and mixes the result: four stems
// (bass, drums, pads and strings, lead and arpeggio) come out of the synthesiser separately with its
// reverb and chorus returns, get their effects (pumping, echo, the layered kick, noise risers) and are
// summed into one stereo master. Events are applied between blocks, always on the synthesiser's
// 64-sample grid, and the synthesiser runs on one thread, so the master is the same on every run.
#pragma once

#include <cstdint>
#include <string>

#include "loudness.h"
#include "score.h"

namespace soundtrack {

// Renders frames frames; false with a reason when the synthesiser or the soundfont fails.
bool mixdown_render(const std::string& soundfont, const Score& score, std::int64_t frames, Stereo* master,
                    std::string* error);

}  // namespace soundtrack
