#include "driver/demo_application.h"

#include "driver/app_access.h"
#include "driver/frame_loop.h"
#include "render/render_context.h"

namespace {
DemoApplication* g_demo = nullptr;
}  // namespace

DemoApplication::~DemoApplication() = default;

LRESULT DemoApplication::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_KEYDOWN && wparam == VK_F12) screenshot_requested = true;
    return Application::handle_message(window, message, wparam, lparam);
}

bool create_application(const char* title, int width, int height, bool show_dialog, TimerClock* clock)
{
    g_demo = new DemoApplication(clock);
    if (FAILED(g_demo->create(GetModuleHandleA(nullptr), title, width, height, show_dialog))) {
        g_demo->cleanup_3d();
        delete g_demo;
        g_demo = nullptr;
        return false;
    }
    publish_render_objects();
    g_demo->motion_blur.create_target();
    return true;
}

void destroy_application()
{
    if (g_demo == nullptr) return;
    g_demo->motion_blur.release();
    render_objects_set(RenderObjects{});
    g_demo->cleanup_3d();
    delete g_demo;
    g_demo = nullptr;
}

DemoApplication* demo_application() { return g_demo; }

void motion_blur_begin()
{
    if (g_demo != nullptr) g_demo->motion_blur.begin();
}

void motion_blur_end()
{
    if (g_demo != nullptr) g_demo->motion_blur.end(app_back_buffer());
}

void motion_blur_draw(float alpha)
{
    if (g_demo != nullptr) g_demo->motion_blur.draw(alpha);
}

void start_frame_timer()
{
    if (g_demo != nullptr) g_demo->timer.timer_start();
}

float frame_delta() { return g_demo != nullptr ? g_demo->timer.frame_delta() : 0.0f; }

bool demo_take_screenshot_request()
{
    if (g_demo == nullptr || !g_demo->screenshot_requested) return false;
    g_demo->screenshot_requested = false;
    return true;
}
