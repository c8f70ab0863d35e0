#include <cstdio>

#include "capture/frame_png.h"
#include "render/offscreen_device.h"
#include "scene3ds/scene_object.h"
#include "scene_view/scene_view.h"
#include "textures/texture_manager.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "vireline-scene-view: %s\n", message.c_str());
    return 1;
}

// A camera the scene cannot draw through, said in the viewer's words; empty when it is fine.
std::string camera_problem(const Scene& scene, int camera) {
    const std::size_t count = scene.cameras.size();
    if (static_cast<std::size_t>(camera) >= count) {
        return "--camera " + std::to_string(camera) + ": the scene has " + std::to_string(count) +
               (count == 1 ? " camera (0)" : " cameras (0 to " + std::to_string(count == 0 ? 0 : count - 1) + ")");
    }
    if (scene.cameras[static_cast<std::size_t>(camera)]->target == nullptr) {
        return "--camera " + std::to_string(camera) + ": that camera has no target to look at";
    }
    return {};
}

}  // namespace

int scene_view_run_headless(const SceneViewOptions& options) {
    OffscreenDevice device;
    std::string reason;
    const OffscreenDeviceKind kind =
        options.device == SceneViewDevice::OpenGL ? OffscreenDeviceKind::Hardware : OffscreenDeviceKind::Software;
    if (FAILED(device.create(kind, options.width, options.height, &reason))) {
        return fail(std::string(options.device == SceneViewDevice::OpenGL ? "the OpenGL" : "the software") +
                    " device could not be made: " + reason);
    }
    device.make_current();

    int status = 0;
    {
        SceneObject object;
        if (!scene_view_load(&object, options)) {
            status = fail("cannot load the scene " + options.scene_path);
        } else if (const std::string problem = camera_problem(*object.scene, options.camera); !problem.empty()) {
            status = fail(problem);
        } else if (FAILED(scene_view_draw_frame(&object, options, options.time))) {
            status = fail("the frame could not be drawn");
        } else if (!frame_png_write(device.target(), options.out_path, &reason)) {
            status = fail(reason);
        }
        object.release();
    }
    texture_delete_all();
    device.release();
    return status;
}
