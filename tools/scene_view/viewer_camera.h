// The camera the viewer adds to a scene that has none of its own, so that every scene can be looked
// at: it frames the scene's meshes, as placed at the frame's time, from the front, a little above and
// to the right, with a 45° field of view (wider for scenes too large to fit before the far plane
// at 100 otherwise). Scenes with cameras are shown only through their own.
#pragma once

#include "scene3ds/scene.h"

inline constexpr const char* VIEWER_CAMERA_NAME = "$VIEWER$";

// Adds the camera and its target to a scene without cameras; does nothing otherwise. True if added.
bool viewer_camera_add(Scene3ds* scene);

// Places the added camera for the meshes' current matrices (after animation). No-op without one.
void viewer_camera_frame(Scene* scene);
