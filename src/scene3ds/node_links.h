// The first post-pass after a scene is read: resolves every node's parent from the keyframer's
// parent ids, gives the cameras their target nodes and the spot lights their spot nodes in file order,
// and builds the evaluation order, in which every parent comes before its children.
#pragma once

class Scene3ds;

// Parent links: the first node of the registry whose node id equals a node's parent id; a parent id
// that names no node leaves the node without a parent, and a link that would close a cycle is cut
// (with a diagnostic), so every chain ends. The evaluation order sorts the registry by depth
// (number of ancestors), ties in registry order.
void link_nodes(Scene3ds* scene);
