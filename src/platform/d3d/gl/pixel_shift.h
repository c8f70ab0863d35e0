// Where the device's pixel centres land in GL. The device samples pixel (i, j) at (i, j); GL at
// (i + 1/2, j + 1/2). Moving all geometry right and down by exactly 1/2 makes GL cover the same pixels
// and interpolate attributes at the same points, provided GL breaks ties (a centre exactly on an edge)
// the way the device's top-left rule does in the backend's orientation, which keeps the device's y-down
// rows as GL's rows. A probe at start-up draws a quad with every edge on pixel centres to find out. Where
// GL decides ties otherwise, the shift is 63/128 (as Wine does): edges on centres then fall the device's
// way, and the fragment shader steps attributes back by the remaining 1/128 pixel.
#pragma once

#include <string>

#include "platform/d3d/gl/shadow_state.h"

constexpr float GL_PIXEL_SHIFT_EXACT = 0.5f;
constexpr float GL_PIXEL_SHIFT_BIASED = 63.0f / 128.0f;

// The shift for the current context (1/2 or 63/128). GL state changes go through gl. The environment
// variable VIRELINE_GL_PIXEL_SHIFT=biased skips the probe and takes 63/128 (to test that path).
float pixel_shift_probe(GlShadowState& gl);
// The value of VIRELINE_GL_PIXEL_SHIFT ("" when unset).
std::string pixel_shift_override();
// Whether GL covered exactly the device's pixels of the probe quad, given the 8 × 8 coverage read back
// (row 0 first, non-zero: covered). Separate for tests.
bool pixel_shift_coverage_matches(const unsigned char (&covered)[8][8]);
