// The second post-pass after a scene is read: each mesh's bounding centre (the middle of the box
// around its vertices) and its farthest vertex from that centre, which together give the bounding
// sphere that culling uses once both are carried by the node's matrix.
#pragma once

class Scene;

// The box starts at ±65536 and widens over the vertices, so a mesh without vertices has centre
// (0, 0, 0). The farthest vertex is the first one strictly farther than every earlier one (starting
// from distance 0); when none is, the farthest vertex keeps its previous value.
void compute_mesh_bounds(Scene* scene);
