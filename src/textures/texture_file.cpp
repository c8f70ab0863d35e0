#include "textures/texture_file.h"

#include <filesystem>
#include <strings.h>
#include <system_error>

std::string texture_file_resolve(const std::string& directory, const char* name) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path full = fs::path(directory + name);
    if (fs::exists(full, error)) return name;

    const std::string wanted = full.filename().string();
    fs::path folder = full.parent_path();
    if (folder.empty()) folder = ".";
    fs::directory_iterator it(folder, error);
    if (error) return name;
    std::string found;
    int matches = 0;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string candidate = it->path().filename().string();
        if (strcasecmp(candidate.c_str(), wanted.c_str()) == 0) {
            found = candidate;
            ++matches;
        }
    }
    if (matches != 1) return name;
    const std::string original = name;
    const std::size_t slash = original.find_last_of('/');
    return slash == std::string::npos ? found : original.substr(0, slash + 1) + found;
}
