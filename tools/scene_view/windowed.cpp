#include <cstdio>

#include "platform/message_box.h"
#include "scene_view/scene_view.h"

int scene_view_run_windowed(const SceneViewOptions& /*options*/) {
    if (!message_box_display_available()) {
        std::fprintf(stderr,
                     "vireline-scene-view: no display to open a window on; the viewer needs a display, "
                     "or --out FRAME.png to render one frame to a file\n");
        return 2;
    }
    std::fprintf(stderr, "vireline-scene-view: the windowed viewer is not available in this build; "
                         "use --out FRAME.png\n");
    return 2;
}
