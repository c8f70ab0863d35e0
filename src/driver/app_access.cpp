#include "driver/app_access.h"

#include "framework/application.h"

IDirectDraw7* app_direct_draw()
{
    Application* app = app_instance();
    return app != nullptr ? app->direct_draw() : nullptr;
}

IDirect3D7* app_direct3d()
{
    Application* app = app_instance();
    return app != nullptr ? app->direct3d() : nullptr;
}

IDirect3DDevice7* app_device()
{
    Application* app = app_instance();
    return app != nullptr ? app->device() : nullptr;
}

IDirectDrawSurface7* app_back_buffer()
{
    Application* app = app_instance();
    return app != nullptr ? app->back_buffer() : nullptr;
}

HWND app_window()
{
    Application* app = app_instance();
    return app != nullptr ? app->window() : nullptr;
}
