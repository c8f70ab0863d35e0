#include <cstdio>

#include "scene_view/scene_view.h"

// Interim: the headless frame arrives with the scene object and the texture manager.
int scene_view_run_headless(const SceneViewOptions& /*options*/) {
    std::fprintf(stderr, "vireline-scene-view: --out is not available in this build yet\n");
    return 1;
}
