// The windowed viewer: the scene runs through the render framework as the demo's scenes do. The
// framework offers the Settings dialog (the device the command line asked for preselected), opens the
// window and starts the chosen device; the scene then animates in a loop through the chosen camera,
// from --time on at 30 keyframe frames per second, until Escape or closing the window ends it.
#include <chrono>
#include <cstdio>
#include <string>

#include "driver/frame_loop.h"
#include "framework/application.h"
#include "framework/command_line.h"
#include "platform/debug_output.h"
#include "platform/message_box.h"
#include "render/render_context.h"
#include "scene3ds/scene_object.h"
#include "scene_view/scene_view.h"
#include "textures/texture_manager.h"

namespace {

int say(const std::string& message, int status)
{
    std::fprintf(stderr, "vireline-scene-view: %s\n", message.c_str());
    return status;
}

const char* kNeedsDisplay =
    "no display to open a window on; the viewer needs a display, or --out FRAME.png to render one frame to a file";

// Why the scene cannot be shown through the chosen camera, or empty.
std::string camera_problem(const Scene& scene, int camera)
{
    const std::size_t count = scene.cameras.size();
    if (camera < 0 || static_cast<std::size_t>(camera) >= count) {
        return "--camera " + std::to_string(camera) + ": the scene has " + std::to_string(count) +
               (count == 1 ? " camera (0)" : " cameras (0 to " + std::to_string(count == 0 ? 0 : count - 1) + ")");
    }
    if (scene.cameras[static_cast<std::size_t>(camera)]->target == nullptr) {
        return "--camera " + std::to_string(camera) + ": that camera has no target to look at";
    }
    return {};
}

// Animates and shows frames through the program's frame loop until the quit message arrives.
void run_loop(SceneObject& object, const SceneViewOptions& options)
{
    const auto start = std::chrono::steady_clock::now();
    run_frame_loop([&] {
        const std::chrono::duration<float> elapsed = std::chrono::steady_clock::now() - start;
        scene_view_draw_frame(&object, options, options.time + elapsed.count() * 30.0f);
        end_frame();
    });
}

}  // namespace

int scene_view_run_windowed(const SceneViewOptions& options)
{
    if (!message_box_display_available()) return say(kNeedsDisplay, 2);

    FrameworkOptions framework = framework_options();
    framework.device = options.device == SceneViewDevice::OpenGL ? DeviceChoice::OpenGL : DeviceChoice::Software;
    framework.no_dialog = framework.no_dialog || options.no_dialog;
    framework_set_options(framework);

    Application app;
    if (FAILED(app.create(GetModuleHandleA(nullptr), "Vireline", static_cast<int>(options.width),
                          static_cast<int>(options.height), true))) {
        return 1;  // the framework has said why in its box
    }
    if (app.headless()) {
        app.cleanup_3d();
        return say(kNeedsDisplay, 2);
    }
    publish_render_objects();

    int status = 0;
    {
        SceneObject object;
        if (!scene_view_load(&object, options)) {
            status = say("cannot load the scene " + options.scene_path, 1);
        } else if (const std::string problem = camera_problem(*object.scene, options.camera); !problem.empty()) {
            status = say(problem, 1);
        } else {
            run_loop(object, options);
        }
        object.release();
    }
    texture_delete_all();
    render_objects_set(RenderObjects{});  // the application goes; nothing may draw through its device
    if (app.cleanup_3d() != S_OK) {
        debug_output_format("%s\n", framework_error_message(FWERR_STILL_REFERENCED));
        status = status != 0 ? status : 1;
    }
    return status;
}
