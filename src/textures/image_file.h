// Reads a picture file into memory in one go, so that every decoder works on a byte buffer (which is
// also what the fuzz targets feed them). Paths longer than the platform's path buffer, anything that
// is not a regular file, and files larger than any acceptable picture are refused.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

// Largest file a loader reads: a 16384 × 16384 picture of 32-bit pixels plus headers.
inline constexpr std::uint64_t kImageMaxFileBytes = 16384ull * 16384ull * 4ull + 65536ull;

// True with the file's bytes in `data`; false with a reason otherwise.
bool image_file_read(const std::string& path, std::vector<BYTE>& data, std::string* reason);
