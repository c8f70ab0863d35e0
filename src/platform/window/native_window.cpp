#include "platform/window/native_window.h"

#include "platform/window/window_internal.h"

SDL_Window* native_window_from_hwnd(HWND window)
{
    WindowHandle* w = window_lookup(window);
    return w != nullptr ? w->sdl : nullptr;
}

void native_window_set_present_handler(HWND window, NativePresentHandler handler)
{
    if (WindowHandle* w = window_lookup(window)) w->present_handler = std::move(handler);
}
