// Small steps the demo parts share: the tick length of a frame, a scene's wrap limit, advancing and
// animating a scene, drawing a scene through one of its cameras, and the wrap of a phase angle.
#pragma once

#include "scene3ds/scene_object.h"

constexpr float PART_TICKS_PER_SECOND = 30.0f;
constexpr float PART_PI = 3.1415927f;
constexpr float PART_TWO_PI = PART_PI * 2.0f;

// The scene's end frame as a float (0 for a scene that did not load).
float part_scene_end(const SceneObject& scene);
// time += step; above wrap it becomes 0; then animate.
void part_scene_step(SceneObject& scene, float step, float wrap);
// set_default_states, then draw through camera with the material switch and aspect.
void part_scene_draw(SceneObject& scene, int camera, bool materials, float aspect);
// angle += step; above 2π it has 2π taken off once.
void part_phase_advance(float* angle, float step);
