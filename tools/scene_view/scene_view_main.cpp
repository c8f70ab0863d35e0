// vireline-scene-view FILE.3ds [--camera N] [--time T] [--size WxH] [--device software|opengl]
//                     [--out FRAME.png] [--no-dialog]
#include <cstdio>
#include <string>

#include "scene_view/scene_view.h"

int main(int argc, char** argv) {
    SceneViewOptions options;
    std::string error;
    switch (scene_view_parse(argc, argv, &options, &error)) {
        case SceneViewParse::Help:
            std::fputs(scene_view_usage(), stdout);
            return 0;
        case SceneViewParse::Error:
            std::fprintf(stderr, "vireline-scene-view: %s\n", error.c_str());
            return 2;
        case SceneViewParse::Run:
            break;
    }
    if (!options.out_path.empty()) return scene_view_run_headless(options);
    return scene_view_run_windowed(options);
}
