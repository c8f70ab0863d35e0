// Writes a File3dsScene as a 3D Studio file in 3D Studio's own layout: the main chunk with its
// version, the editor data (mesh version, materials, master scale, named objects) and the keyframer
// (header, frame segment, current frame, then the node chunks with node ids, headers, pivots,
// instance names and tracks with their spline parameters).
#pragma once

#include <cstdint>
#include <vector>

#include "scene3ds_writer/scene3ds_file.h"

std::vector<std::uint8_t> write_3ds(const File3dsScene& scene);

// Writes the file; false when it cannot be written.
bool write_3ds_file(const char* path, const File3dsScene& scene);
