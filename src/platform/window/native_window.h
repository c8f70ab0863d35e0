// Access to the program window's native (SDL2) object for the platform's own backends only: the
// OpenGL device backend creates its context on this window and may take over presenting frames to it.
// Demo code, effects and the framework's logic never include this header.
#pragma once

#include <functional>

#include "platform/win_types.h"

struct SDL_Window;
struct RECT;

// The SDL window behind a window handle made by the window layer, or null (headless, or not ours).
SDL_Window* native_window_from_hwnd(HWND window);

// A backend that renders on the GPU can present frames itself (blit to the window's default
// framebuffer and swap) instead of the window layer's CPU upload of the primary surface's pixels.
// The handler gets the dirty rectangle of the primary and whether the present is a full-screen Flip
// (which waits for vertical sync); it returns true when it has presented the frame. An empty handler
// removes the override.
using NativePresentHandler = std::function<bool(const RECT& dirty, bool is_flip)>;
void native_window_set_present_handler(HWND window, NativePresentHandler handler);
