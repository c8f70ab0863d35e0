// Small composed scenes that exercise several stages at once — a lit, textured, specular box in a
// w-buffered room with a fading overlay; additive echo shells of a sphere; a scene rendered into a
// texture target and laid over a wireframe background through a state block. The golden-image test
// compares them against approved pictures; the software-backend tests render them under different
// thread counts and pixel loops.
#pragma once

#include "platform/d3d/device_fixture.h"

constexpr DWORD kGoldenWidth = 96;
constexpr DWORD kGoldenHeight = 72;

struct GoldenScene {
    const char* name;
    // Draws one frame into the harness's target (which has a z-buffer); false if a call failed.
    bool (*draw)(DeviceHarness& h);
};
const std::vector<GoldenScene>& golden_scenes();
