// The program's entry. Until the framework and the demo parts arrive it checks its command line and
// reports what it can run; the flow of start-up, frame loop and shutdown comes with them.
#include <cstdio>
#include <cstring>

#include "version.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vireline %s\n", VIRELINE_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: vireline [--help] [--version]\n");
            return 0;
        }
        std::fprintf(stderr, "vireline: unknown option '%s' (try --help)\n", argv[i]);
        return 2;
    }
    std::fprintf(stderr, "vireline %s: the demo parts are not part of this build yet; nothing to play.\n",
                 VIRELINE_VERSION);
    return 0;
}
