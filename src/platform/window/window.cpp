// Window classes, windows, icons and the cursor over SDL2 (or with no SDL object when headless).
#include "platform/window/window.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "platform/window/window_internal.h"
#include "platform/window/window_system.h"

namespace {

struct WindowClass {
    WNDCLASSA record;
    std::string name;
};

std::map<std::string, WindowClass>& classes()
{
    static std::map<std::string, WindowClass> table;
    return table;
}

// Every handle ever made lives until the registry is cleared, so a stale handle never aliases a new one.
std::vector<std::unique_ptr<WindowHandle>>& handles()
{
    static std::vector<std::unique_ptr<WindowHandle>> list;
    return list;
}

std::map<int, std::unique_ptr<IconHandle>>& icons()
{
    static std::map<int, std::unique_ptr<IconHandle>> table;
    return table;
}

CursorHandle g_arrow{32512};
HCURSOR g_current_cursor = &g_arrow;
bool g_cursor_hidden = false;
SDL_Cursor* g_sdl_arrow = nullptr;

HINSTANCE module_instance()
{
    static int anchor = 0;
    return reinterpret_cast<HINSTANCE>(&anchor);
}

void apply_icon(const WindowHandle& w)
{
    if (w.sdl == nullptr || w.icon == nullptr || w.icon->pixels.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(w.icon->pixels.data()), w.icon->width, w.icon->height, 32, w.icon->width * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(w.sdl, surface);
    SDL_FreeSurface(surface);
}

}  // namespace

HINSTANCE GetModuleHandleA(LPCSTR module_name)
{
    return module_name == nullptr ? module_instance() : nullptr;
}

void icon_resource_register(int id, int width, int height, std::vector<std::uint32_t> argb_pixels)
{
    if (width <= 0 || height <= 0 || argb_pixels.size() != static_cast<std::size_t>(width) * height) return;
    auto icon = std::make_unique<IconHandle>();
    icon->id = id;
    icon->width = width;
    icon->height = height;
    icon->pixels = std::move(argb_pixels);
    icons()[id] = std::move(icon);
}

HICON LoadIconA(HINSTANCE, LPCSTR name)
{
    if (name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    auto it = icons().find(id);
    return it == icons().end() ? nullptr : it->second.get();
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name)
{
    return name == IDC_ARROW ? &g_arrow : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = g_current_cursor;
    g_current_cursor = cursor;
    g_cursor_hidden = cursor == nullptr;
    if (window_system_has_sdl_video()) {
        if (cursor != nullptr) {
            if (g_sdl_arrow == nullptr) g_sdl_arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
            if (g_sdl_arrow != nullptr) SDL_SetCursor(g_sdl_arrow);
        }
        SDL_ShowCursor(cursor == nullptr ? SDL_DISABLE : SDL_ENABLE);
    }
    return previous;
}

bool cursor_hidden() { return g_cursor_hidden; }

WORD RegisterClassA(const WNDCLASSA* window_class)
{
    if (window_class == nullptr || window_class->lpszClassName == nullptr || window_class->lpfnWndProc == nullptr) {
        return 0;
    }
    const std::string name = window_class->lpszClassName;
    if (name.empty() || classes().count(name) != 0) return 0;
    classes()[name] = WindowClass{*window_class, name};
    return static_cast<WORD>(0xC000 + classes().size());
}

BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE)
{
    if (class_name == nullptr) return FALSE;
    return classes().erase(class_name) != 0 ? TRUE : FALSE;
}

WindowHandle* window_lookup(HWND window)
{
    if (window == nullptr) return nullptr;
    for (const auto& h : handles()) {
        if (h.get() == window) return h->destroyed ? nullptr : h.get();
    }
    return nullptr;
}

POINT window_screen_origin()
{
    POINT origin{0, 0};
    if (!window_system_has_sdl_video()) return origin;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) == 0) {
        origin.x = bounds.x;
        origin.y = bounds.y;
    }
    return origin;
}

HWND CreateWindowExA(DWORD, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width, int height,
                     HWND, HMENU, HINSTANCE, void*)
{
    if (class_name == nullptr || width <= 0 || height <= 0) return nullptr;
    auto cls = classes().find(class_name);
    if (cls == classes().end()) return nullptr;
    auto handle = std::make_unique<WindowHandle>();
    WindowHandle& w = *handle;
    w.class_name = class_name;
    w.procedure = cls->second.record.lpfnWndProc;
    w.icon = cls->second.record.hIcon;
    w.cursor = cls->second.record.hCursor;
    w.title = title != nullptr ? title : "";
    w.style = style;
    w.client_width = width;
    w.client_height = height;
    w.visible = (style & WS_VISIBLE) != 0;
    if (window_system_has_sdl_video()) {
        Uint32 flags = SDL_WINDOW_OPENGL | (w.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
        if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        if ((style & WS_CAPTION) == 0) flags |= SDL_WINDOW_BORDERLESS;
        const POINT origin = window_screen_origin();
        const int sx = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0)) : x + origin.x;
        const int sy = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0)) : y + origin.y;
        w.sdl = SDL_CreateWindow(w.title.c_str(), sx, sy, width, height, flags);
        if (w.sdl == nullptr) {
            // A display without OpenGL still shows the software device's pictures.
            SDL_Log("CreateWindowExA: %s; trying without OpenGL", SDL_GetError());
            w.sdl = SDL_CreateWindow(w.title.c_str(), sx, sy, width, height, flags & ~SDL_WINDOW_OPENGL);
        }
        if (w.sdl == nullptr) {
            SDL_Log("CreateWindowExA: %s", SDL_GetError());
            return nullptr;
        }
        w.sdl_id = SDL_GetWindowID(w.sdl);
        apply_icon(w);
    } else {
        w.headless_x = x == CW_USEDEFAULT ? 0 : x;
        w.headless_y = x == CW_USEDEFAULT ? 0 : y;
    }
    handles().push_back(std::move(handle));
    return reinterpret_cast<HWND>(handles().back().get());
}

BOOL DestroyWindow(HWND window)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr) return FALSE;
    if (w->procedure != nullptr) w->procedure(window, WM_DESTROY, 0, 0);
    // The procedure may have destroyed the window itself.
    w = window_lookup(window);
    if (w == nullptr) return TRUE;
    w->destroyed = true;
    w->gpu_presenter = nullptr;
    window_presenter_release(w->presenter);
    // The SDL window only disappears from the screen: a GPU device made on it may still be released
    // after the window is gone (the program releases its device after the quit message), and its GL
    // context needs the window until then. window_system_stop destroys it for good.
    if (w->sdl != nullptr) SDL_HideWindow(w->sdl);
    return TRUE;
}

BOOL IsWindow(HWND window) { return window_lookup(window) != nullptr ? TRUE : FALSE; }

BOOL ShowWindow(HWND window, int command)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr) return FALSE;
    const BOOL was_visible = w->visible ? TRUE : FALSE;
    switch (command) {
        case SW_HIDE:
            w->visible = false;
            if (w->sdl != nullptr) SDL_HideWindow(w->sdl);
            break;
        case SW_SHOWMINIMIZED:
            w->visible = true;
            if (w->sdl != nullptr) {
                SDL_ShowWindow(w->sdl);
                SDL_MinimizeWindow(w->sdl);
            }
            break;
        case SW_RESTORE:
            w->visible = true;
            if (w->sdl != nullptr) {
                SDL_ShowWindow(w->sdl);
                SDL_RestoreWindow(w->sdl);
            }
            break;
        default:
            w->visible = true;
            if (w->sdl != nullptr) SDL_ShowWindow(w->sdl);
            break;
    }
    return was_visible;
}

BOOL UpdateWindow(HWND window) { return window_lookup(window) != nullptr ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND window)
{
    WindowHandle* w = window_lookup(window);
    return w != nullptr && w->visible ? TRUE : FALSE;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr || rect == nullptr) return FALSE;
    int width = w->client_width;
    int height = w->client_height;
    if (w->sdl != nullptr) SDL_GetWindowSize(w->sdl, &width, &height);
    *rect = RECT{0, 0, width, height};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr || point == nullptr) return FALSE;
    int x = w->headless_x;
    int y = w->headless_y;
    if (w->sdl != nullptr) {
        SDL_GetWindowPosition(w->sdl, &x, &y);
        const POINT origin = window_screen_origin();
        x -= origin.x;
        y -= origin.y;
    }
    point->x += x;
    point->y += y;
    return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr) return FALSE;
    w->title = text != nullptr ? text : "";
    if (w->sdl != nullptr) SDL_SetWindowTitle(w->sdl, w->title.c_str());
    return TRUE;
}

BOOL DrawMenuBar(HWND window) { return window_lookup(window) != nullptr ? TRUE : FALSE; }

BOOL RedrawWindow(HWND window, const RECT*, void*, UINT flags)
{
    if (window_lookup(window) == nullptr) return FALSE;
    if (flags & RDW_INVALIDATE) PostMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM)
{
    WindowHandle* w = window_lookup(window);
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case WM_SETCURSOR:
            if (w != nullptr) SetCursor(w->cursor);
            return TRUE;
        case WM_NCHITTEST:
            return HTCLIENT;
        default:
            return 0;
    }
}

HWND window_from_sdl_id(std::uint32_t window_id)
{
    if (window_id == 0) return nullptr;
    for (const auto& h : handles()) {
        if (!h->destroyed && h->sdl_id == window_id) return reinterpret_cast<HWND>(h.get());
    }
    return nullptr;
}

HWND window_first_live()
{
    for (const auto& h : handles()) {
        if (!h->destroyed) return reinterpret_cast<HWND>(h.get());
    }
    return nullptr;
}

bool window_is_fullscreen(HWND window)
{
    WindowHandle* w = window_lookup(window);
    return w != nullptr && w->fullscreen;
}

void window_registry_clear()
{
    for (const auto& h : handles()) {
        window_presenter_release(h->presenter);
        if (h->sdl != nullptr) SDL_DestroyWindow(h->sdl);
        h->sdl = nullptr;
        h->destroyed = true;
    }
    handles().clear();
    classes().clear();
    if (g_sdl_arrow != nullptr) {
        SDL_FreeCursor(g_sdl_arrow);
        g_sdl_arrow = nullptr;
    }
    g_current_cursor = &g_arrow;
    g_cursor_hidden = false;
}
