#include "driver/frame_loop.h"

#include "driver/app_access.h"
#include "framework/application.h"
#include "render/render_context.h"

void publish_render_objects()
{
    RenderObjects objects;
    objects.direct_draw = app_direct_draw();
    objects.direct3d = app_direct3d();
    objects.device = app_device();
    objects.back_buffer = app_back_buffer();
    render_objects_set(objects);
}

bool keep_running()
{
    publish_render_objects();
    Application* app = app_instance();
    return app != nullptr && app->pump_messages();
}

namespace {
FrameObserver* g_observer = nullptr;
}  // namespace

void frame_loop_set_observer(FrameObserver* observer) { g_observer = observer; }

void end_frame()
{
    Application* app = app_instance();
    if (app == nullptr) return;
    const bool show = g_observer == nullptr || g_observer->before_present();
    if (show && FAILED(app->present_frame())) DestroyWindow(app->window());
    if (g_observer != nullptr) g_observer->frame_ended();
}

unsigned long run_frame_loop(const std::function<void()>& frame)
{
    unsigned long frames = 0;
    do {
        frame();
        ++frames;
    } while (keep_running());
    return frames;
}
