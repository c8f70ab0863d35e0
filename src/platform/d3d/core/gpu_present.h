// Presenting with the GPU, as a concept of the display. A display driver that shows frames on windows
// owns the window system: it can make an OpenGL context on one of its windows (NativeGlContext) and
// lets a GPU backend take over presenting there (GpuPresenter), so the frame goes from the GPU to the
// window without a trip through memory. Backends see only these two interfaces and the driver; they
// never reach the window system themselves. Drivers without windows (the headless one) offer neither.
#pragma once

#include <functional>

#include "platform/d3d/ddraw_types.h"

// An OpenGL context made by a display driver on one of its windows. Everything a backend draws goes
// into its own framebuffer objects; the window's default framebuffer only receives presented frames.
class NativeGlContext {
public:
    virtual ~NativeGlContext() = default;
    // Makes the context current on the calling thread (a no-op when it already is). False on failure.
    virtual bool make_current() = 0;
    // The size of the window's drawable area in pixels.
    virtual void drawable_size(int* width, int* height) const = 0;
    // Shows the default framebuffer; with vsync the swap waits for vertical sync.
    virtual void swap(bool vsync) = 0;
};

// Shows the primary surface on a window in place of the driver's own CPU upload: it gets the dirty
// rectangle of the primary and whether the frame is to wait for vertical sync, and returns true when
// it has presented the frame.
using GpuPresenter = std::function<bool(const RECT& dirty, bool vsync)>;
