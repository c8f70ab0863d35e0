// Making a Matroska capture that ended before its first frame readable. Such a file holds its tracks
// but no cluster, which the format allows; FFmpeg 5.1's reader, though, refuses any file without a
// cluster. Appending one empty cluster at time 0 (and growing the segment to hold it) makes the file
// open everywhere and changes nothing else.
#pragma once

#include <string>

// For a completed Matroska file with no cluster; false with a reason when the file does not have the
// layout the muxer writes (it is then left as it was).
bool matroska_add_empty_cluster(const std::string& path, std::string* error);
