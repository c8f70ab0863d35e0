#include "driver/demo_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

DemoProcessResult run_demo(const std::string& options, const std::string& environment)
{
    const std::string base = std::string(VIRELINE_BINARY_DIR) + "/demo-process-" + std::to_string(getpid());
    const std::string out_path = base + ".out";
    const std::string err_path = base + ".err";
    const std::string command = std::string("cd ") + VIRELINE_DATA_DIR + " && SDL_AUDIODRIVER=dummy " + environment + " " +
                                VIRELINE_PROGRAM + " " + options + " >" + out_path + " 2>" + err_path;
    DemoProcessResult result;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    if (status != -1 && WIFSIGNALED(status)) result.status = 128 + WTERMSIG(status);
    result.out = read_all(out_path);
    result.err = read_all(err_path);
    std::remove(out_path.c_str());
    std::remove(err_path.c_str());
    return result;
}

std::string tail_lines(const std::string& text, int lines)
{
    std::size_t at = text.size();
    for (int n = 0; n <= lines && at != std::string::npos && at > 0; ++n) at = text.rfind('\n', at - 1);
    return at == std::string::npos ? text : text.substr(at + 1);
}
