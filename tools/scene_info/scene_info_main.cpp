// vireline-scene-info FILE.3ds: reads a 3D Studio file with the demo's reader and prints a JSON
// summary of the scene it made on standard output. Exit status 0 on success, 1 when the file cannot
// be read, 2 on a usage error.
#include <cstdio>
#include <string>

#include "platform/message_box.h"
#include "scene3ds/load_3ds.h"
#include "scene_info/scene_info_json.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vireline-scene-info FILE.3ds\n");
        return 2;
    }
    // A command-line tool reports on standard error, never in a window.
    message_box_set_headless(true);
    const auto scene = load_3ds_scene(argv[1]);
    if (!scene) return 1;
    const std::string json = scene_info_json(*scene);
    std::fputs(json.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
