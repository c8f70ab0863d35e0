// Loading a 3D Studio (.3ds) file into a Scene3ds: lengths scaled by 0.01, the file's Y and Z axes
// swapped and every triangle's winding reversed to match, vertex normals computed as each face list
// is read, local axes and pivots applied, the keyframer's nodes and tracks read; then the node
// hierarchy is linked and the mesh bounds are computed. Malformed data never reads past the file:
// what does not fit is skipped or cut, with a diagnostic, and the rest of the file is still read.
#pragma once

#include <cstddef>
#include <memory>

#include "scene3ds/scene.h"

// Reads the file. When it cannot be opened, shows "<path> not found!" in an "Error" message box and
// returns null. A file whose first chunk is not the main chunk gives an empty scene.
std::unique_ptr<Scene3ds> load_3ds_scene(const char* path);

// The same from bytes in memory (tests, fuzzing, embedded data); never null.
std::unique_ptr<Scene3ds> load_3ds_scene_memory(const void* data, std::size_t size);
