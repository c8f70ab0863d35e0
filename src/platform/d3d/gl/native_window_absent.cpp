// Stand-ins for the window layer's entry points in a build that has no window layer: no handle is a
// window of ours, there is no window, and there is nothing to present on.
#include "platform/window/native_window.h"
#include "platform/window/window.h"

HWND window_first_live()
{
    return nullptr;
}

SDL_Window* native_window_from_hwnd(HWND)
{
    return nullptr;
}

void native_window_set_present_handler(HWND, NativePresentHandler) {}
