// The program's icon (resource 102): a 32 × 32 picture drawn in code (a light V over a deep blue disc
// with a thin ring), registered with the window layer so that LoadIconA finds it.
#pragma once

#include <cstdint>
#include <vector>

// The icon's pixels, 0xAARRGGBB, rows top first.
std::vector<std::uint32_t> program_icon_pixels(int size);
// Registers the icon under its resource number (once is enough; later calls replace it).
void program_icon_register();
