// Putting the primary surface's pixels on a window: the GPU backend's presenter first, when one is
// installed for the window (window_gl_context.h); otherwise the window layer converts the part of the
// primary that lies under the window's client area (windowed) or the whole primary (full screen) into
// an SDL_Renderer streaming texture and presents it. A renderer, not SDL's window surface, because the
// window is an OpenGL window and a window surface must not be combined with GL on the same window.
#pragma once

#include "platform/d3d/core/display_driver.h"

// is_flip: a full-screen Flip (the whole primary is the picture, shown with vertical sync).
// Returns true when something was shown.
bool window_present_primary(HWND window, const PresentImage& image, const RECT& dirty, bool is_flip);

// The rectangle of the primary shown on a window: in windowed operation the client area at its screen
// position, clipped to the primary; in full screen the whole primary. dest_x / dest_y: where its
// top-left lands in the window's client area. False when nothing of the client area is on the primary.
bool window_present_source_rect(const RECT& client_on_screen, DWORD primary_width, DWORD primary_height,
                                bool is_flip, RECT* source, int* dest_x, int* dest_y);
