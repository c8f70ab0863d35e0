// The OpenGL context on the program window, for playback: made with SDL on the window the framework
// created (with SDL_WINDOW_OPENGL), 3.3 core where offered. Rendering still goes into framebuffer
// objects; the window's default framebuffer only receives presented frames, followed by a buffer swap
// that waits for vertical sync when asked to (a full-screen Flip).
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/gl/gl_context.h"

struct SDL_Window;

class WindowGlContext : public GlContext {
public:
    // The drawable size of the window in pixels.
    virtual void drawable_size(int* width, int* height) const = 0;
    // Shows the default framebuffer; with vsync the swap waits for vertical sync.
    virtual void swap(bool vsync) = 0;
};

// Makes a context on window and makes it current; null with the reason in error when SDL cannot make a
// sufficient one (no OpenGL in the video driver, too old a version).
std::unique_ptr<WindowGlContext> context_window_create(SDL_Window* window, std::string* error);
