#include "framework/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#ifndef VIRELINE_BUILD_DATA_DIR
#define VIRELINE_BUILD_DATA_DIR ""
#endif

namespace {

bool is_directory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

const char* data_folder_built() { return VIRELINE_BUILD_DATA_DIR; }

bool data_folder_holds_data(const std::string& dir)
{
    if (dir.empty()) return false;
    return is_directory(dir + "/scenes") && is_directory(dir + "/maps");
}

std::string data_folder_choose(const std::string& requested, const std::string& current, const std::string& built)
{
    if (!requested.empty()) return requested;
    if (data_folder_holds_data(current)) return current;
    if (data_folder_holds_data(built)) return built;
    return current;
}

bool data_folder_enter(const std::string& requested, std::string* error)
{
    std::vector<char> buffer(4096);
    const std::string current = getcwd(buffer.data(), buffer.size()) != nullptr ? buffer.data() : ".";
    const std::string chosen = data_folder_choose(requested, current, data_folder_built());
    if (chosen == current) return true;
    if (chdir(chosen.c_str()) != 0) {
        if (error != nullptr) *error = "cannot enter the data folder '" + chosen + "': " + std::strerror(errno);
        return false;
    }
    return true;
}
