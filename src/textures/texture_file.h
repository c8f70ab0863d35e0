// Finding a texture's picture file on a file system that, unlike the platform's, tells upper and
// lower case apart: scenes made on the platform name their maps "MP5SIL.BMP" while the file beside
// them is "mp5sil.bmp". When the file does not exist as named, its folder is searched for the one
// file whose name matches without regard to case.
#pragma once

#include <string>

// The name to open under `directory`: `name` itself when that file exists or nothing else matches,
// otherwise the name (same folder part) with the file's own spelling.
std::string texture_file_resolve(const std::string& directory, const char* name);
