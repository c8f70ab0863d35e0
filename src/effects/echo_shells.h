// A glowing, breathing ball: a mesh drawn ten times in one frame, each copy 5 % larger and fainter than
// the one before, blended additively, so that the ball seems wrapped in a halo of echo shells. Each
// vertex's opacity is a three-term plasma of its direction from the mesh centre, animated by phase
// angles; the field of view swings with the fourth phase. The effect replaces the projection, the world
// transform, the blending and stage 0's operations, and leaves them so.
#pragma once

#include <cstdint>

#include "effects/mesh_record.h"

struct EchoShells {
    MeshRecord* mesh = nullptr;  // not owned
    float p1 = 0.0f, p2 = 0.0f, p3 = 0.0f, p4 = 0.0f;  // radians
};

constexpr const char* ECHO_SHELLS_TEXTURE = "metal.jpg";
constexpr int ECHO_SHELLS_PASSES = 10;
// The red, green and blue bytes of every shell vertex; only alpha varies.
constexpr D3DCOLOR ECHO_SHELLS_RGB = 0x204080;

// The program-wide instance draw_echo_shells() uses.
EchoShells& echo_shells();

// The demo part's step before each draw: every phase advances by seconds × its rate and wraps once.
void echo_shells_advance(EchoShells* shells, float seconds);

// Draws the program-wide instance with the current view transform.
void draw_echo_shells();
void draw_echo_shells(EchoShells* shells);

// The plasma opacity (0 … 255) of a vertex at (x, y, z) under the phases.
int echo_plasma(float x, float y, float z, float p1, float p2, float p3);
// The opacity for a sum S of the three sines: 71 + 23.666666 S, clamped to [0, 255], truncated.
int echo_plasma_alpha(float sum_of_sines);
// One pass's fade of a shell vertex colour: alpha × 0.85, truncated.
D3DCOLOR echo_fade(D3DCOLOR colour);
// π / (0.5 cos p4 + 2.5): between π/3 and π/2.
float echo_field_of_view(float p4);
// Fills every vertex colour of the mesh with the plasma opacity over ECHO_SHELLS_RGB.
void echo_shells_colour(EchoShells* shells);
