// What the window layer keeps about each window and class, shared by its own files only (window
// creation, the message queue, the presenter, the display driver and OpenGL on windows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d/core/gpu_present.h"
#include "platform/window/window.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// The CPU presenter of one window: an SDL_Renderer made on first use (it works on an OpenGL window,
// where a window surface must not be mixed with GL) and a streaming texture of the presented size.
struct WindowPresenter {
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_width = 0;
    int texture_height = 0;
    bool vsync = false;
    std::vector<std::uint32_t> staging;  // converted pixels of the last upload
};

struct WindowHandle {
    std::string class_name;
    WNDPROC procedure = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    std::string title;
    DWORD style = 0;
    SDL_Window* sdl = nullptr;  // null when headless
    std::uint32_t sdl_id = 0;
    bool destroyed = false;
    bool visible = false;
    bool fullscreen = false;
    int windowed_x = 0;  // where the window was before it went full screen
    int windowed_y = 0;
    int client_width = 0;
    int client_height = 0;
    int headless_x = 0;  // screen position of the client area when there is no SDL window
    int headless_y = 0;
    GpuPresenter gpu_presenter;  // a GPU backend presenting on this window (window_gl_context.h)
    WindowPresenter presenter;
};

struct IconHandle {
    int id = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows top first
};

struct CursorHandle {
    int id = 0;
};

// The live window behind a handle (null when destroyed or unknown).
WindowHandle* window_lookup(HWND window);
// The primary display's top-left in SDL's global coordinates ((0, 0) when headless).
POINT window_screen_origin();
// Releases the presenter's SDL objects (before the SDL window goes).
void window_presenter_release(WindowPresenter& presenter);
// Destroys every window and forgets classes and handles (window_system_stop).
void window_registry_clear();

// A SIGINT / SIGTERM caught while headless, reported once (the message queue turns it into WM_CLOSE).
bool window_system_take_signal_close();
// Whether SDL video is running (a display exists).
bool window_system_has_sdl_video();
