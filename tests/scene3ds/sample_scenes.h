// Scenes described in file terms for the tests, the fuzzer's seed corpus and the benchmark: one that
// uses every chunk the reader understands, and a large animated one of a chosen size.
#pragma once

#include "scene3ds_writer/scene3ds_file.h"

// Two materials (every colour and percentage form, wire, all three maps), a textured mesh with local
// axes and material groups, a second mesh, omni and spot lights, two cameras, and a keyframer with
// object, dummy, camera, camera-target, light, spotlight and light-target nodes, a hierarchy, pivots,
// instance names and all five kinds of track with spline parameters.
File3dsScene sample_full_scene();

// Meshes of up to 10000 triangles each, making `triangles` in all, every mesh textured and animated
// with `keys` keys in each of its position, rotation and scale tracks, children of one dummy.
File3dsScene sample_large_scene(int triangles, int keys);
