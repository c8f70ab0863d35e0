// vireline-content FOLDER: writes the demo's scenes and pictures into FOLDER. With --list, prints
// the files it writes (relative to the folder), one a line, and writes nothing.
#include <cstdio>
#include <cstring>
#include <string>

#include "content/content.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const std::string& file : content_manifest()) std::printf("%s\n", file.c_str());
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: vireline-content FOLDER | --list\n");
        return 2;
    }
    std::string error;
    if (!content_generate(argv[1], &error)) {
        std::fprintf(stderr, "vireline-content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
