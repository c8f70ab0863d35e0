// OpenGL on the program's windows, for a GPU backend: a context made with SDL on a window created with
// SDL_WINDOW_OPENGL, at the version asked for (core profile first, then compatibility), and the
// window's GPU presenter slot. The display driver offers both through its GPU-presenting interface
// (core/gpu_present.h); nothing outside the window layer sees SDL.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/core/gpu_present.h"

struct SDL_Window;

// A context on window made current; null with the reason in error (not a window made for OpenGL, or
// SDL cannot make a context of that version).
std::unique_ptr<NativeGlContext> window_gl_context_create(SDL_Window* window, int major, int minor,
                                                          std::string* error);

// Installs or (empty) removes the presenter of one of our windows.
void window_set_gpu_presenter(HWND window, GpuPresenter presenter);
