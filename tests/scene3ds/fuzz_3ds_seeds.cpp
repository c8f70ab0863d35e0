// Writes the fuzzer's generated seeds (scenes from the 3DS writer) into the folder given.
#include <cstdio>
#include <string>

#include "sample_scenes.h"
#include "scene3ds_writer/write_3ds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scene3ds_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const File3dsScene full = sample_full_scene();
    File3dsScene editor_only = full, keyframer_only = full;
    editor_only.keyframer = false;
    keyframer_only.objects.clear();
    keyframer_only.materials.clear();
    const std::pair<const char*, File3dsScene> seeds[] = {{"full.3ds", full},
                                                          {"editor_only.3ds", editor_only},
                                                          {"keyframer_only.3ds", keyframer_only},
                                                          {"small_grid.3ds", sample_large_scene(200, 4)}};
    for (const auto& [name, scene] : seeds) {
        const std::string path = folder + "/" + name;
        if (!write_3ds_file(path.c_str(), scene)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
