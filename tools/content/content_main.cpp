// vireline-content FOLDER: writes the demo's scenes and pictures into FOLDER. With --list, prints
// the files it writes (relative to the folder), one a line, and writes nothing; with --previews
// FOLDER it writes only the preview scenes, which stand in for the effects, into FOLDER.
#include <cstdio>
#include <cstring>
#include <string>

#include "content/content.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const std::string& file : content_manifest()) std::printf("%s\n", file.c_str());
        return 0;
    }
    std::string error;
    if (argc == 3 && std::strcmp(argv[1], "--previews") == 0) {
        if (content_generate_previews(argv[2], &error)) return 0;
        std::fprintf(stderr, "vireline-content: %s\n", error.c_str());
        return 1;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: vireline-content FOLDER | --list | --previews FOLDER\n");
        return 2;
    }
    if (!content_generate(argv[1], &error)) {
        std::fprintf(stderr, "vireline-content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
