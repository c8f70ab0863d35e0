// Helpers of the content tests: where the build put the generated data, the generator's own list
// of its files, reading whole files and fingerprinting them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/content.h"
#include "sha256.h"

inline std::string content_dir() { return VIRELINE_CONTENT_DIR; }
inline std::string content_path(const std::string& file) { return content_dir() + "/" + file; }

inline std::vector<std::uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string file_sha256(const std::string& path) { return Sha256::hex(read_bytes(path)); }

// GoogleTest parameter names from file names ("scenes/pallo.3ds" → "scenes_pallo_3ds").
inline std::string param_name(std::string s) {
    for (char& c : s)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return s;
}

inline std::vector<std::string> manifest_with_prefix(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& f : content_manifest())
        if (f.rfind(prefix, 0) == 0) out.push_back(f);
    return out;
}
