// Keyframe evaluation: turns a node's tracks at a time (in keyframe frames) into its world matrix and,
// for a camera, its current field of view. Positions, scales and fields of view blend linearly between
// the two keys around the time, rotations by spherical interpolation of the stored absolute
// quaternions. The result is S·R·T·P (scale, rotation, key position, then the parent's current
// matrix), so parents must be evaluated first: the scene's evaluation order guarantees that.
#pragma once

struct SceneNode;

// Sets node->matrix (and a camera's field_of_view) for the time. Keeps no state: any time may be
// evaluated in any order. A track without keys contributes nothing (identity; the field of view
// keeps its value).
void evaluate_node(SceneNode* node, float time);

