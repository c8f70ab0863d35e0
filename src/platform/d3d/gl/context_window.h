// The OpenGL context on the program window, for playback: made by the display driver that shows the
// window (the driver owns the window system), 3.3 core where offered, and checked here like every
// other context. Rendering still goes into framebuffer objects; the window's default framebuffer only
// receives presented frames, followed by a buffer swap that waits for vertical sync when asked to (a
// full-screen Flip).
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/gl/gl_context.h"

class WindowGlContext : public GlContext {
public:
    // The drawable size of the window in pixels.
    virtual void drawable_size(int* width, int* height) const = 0;
    // Shows the default framebuffer; with vsync the swap waits for vertical sync.
    virtual void swap(bool vsync) = 0;
};

// Asks driver for a context on window and checks it; null with the reason in error when the driver
// cannot make one or the context is not sufficient (too old a version, missing features).
std::unique_ptr<WindowGlContext> context_window_create(DisplayDriver& driver, HWND window, std::string* error);
