// Windows in the platform's shape over SDL2: window classes with their window procedure, icon and
// cursor; CreateWindowExA / DestroyWindow and the calls the framework makes on its window (show, client
// rectangle, screen position, cursor). A window made here is an SDL window created with
// SDL_WINDOW_OPENGL (so a GPU backend can make its context on it), or, when the window system runs
// headless, a window with no SDL object behind it: it still has a client rectangle, a window procedure
// and messages, so the program runs the same way with nothing on screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/ddraw_types.h"
#include "platform/window/messages.h"

struct InstanceHandle;
using HINSTANCE = InstanceHandle*;
struct IconHandle;
using HICON = IconHandle*;
struct CursorHandle;
using HCURSOR = CursorHandle*;
struct MenuHandle;
using HMENU = MenuHandle*;
using HBRUSH = void*;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct WNDCLASSA {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCSTR lpszMenuName = nullptr;
    LPCSTR lpszClassName = nullptr;
};

// Window styles (only these matter here: no thick frame means not resizable).
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_FRAME = 0x0400;

// Resource names given as numbers (MAKEINTRESOURCE) and the arrow cursor.
inline LPCSTR MAKEINTRESOURCEA(int id) { return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id & 0xFFFF)); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0; }
inline LPCSTR IDC_ARROW_NAME() { return MAKEINTRESOURCEA(32512); }
#define IDC_ARROW IDC_ARROW_NAME()

// The program's module handle (one per process; the instance argument of the calls below).
HINSTANCE GetModuleHandleA(LPCSTR module_name);

// Icons are pictures the program registers under a resource number (32-bit 0xAARRGGBB pixels, rows top
// first); LoadIconA finds them by number. Cursors: only the system arrow exists.
void icon_resource_register(int id, int width, int height, std::vector<std::uint32_t> argb_pixels);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
// Sets the cursor shown over the client area; null hides it. Returns the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
// Whether the cursor is currently hidden by SetCursor(null).
bool cursor_hidden();

// Registers a class by name; 0 when the name is taken or the class record is incomplete.
WORD RegisterClassA(const WNDCLASSA* window_class);
BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);

// Creates a top-level window. width × height is the client area (the frame, if any, is drawn around it
// by the desktop); CW_USEDEFAULT positions it centred on the primary display. Without WS_VISIBLE it is
// created hidden. Null when the class is unknown or the SDL window cannot be made.
HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Sends WM_DESTROY to the window procedure, then destroys the window: the handle is dead from then on
// and the window leaves the screen; its SDL object stays (hidden) until window_system_stop, so that a
// GPU device made on it can still be released. FALSE for a window that is not (or no longer) one.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL SetWindowTextA(HWND window, LPCSTR text);
BOOL DrawMenuBar(HWND window);
BOOL RedrawWindow(HWND window, const RECT* update, void* region, UINT flags);
// Calls the default handling: WM_CLOSE destroys the window, WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE,
// WM_SETCURSOR shows the class cursor, WM_NCHITTEST answers HTCLIENT; everything else answers 0.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The window whose SDL window has this id, or null.
HWND window_from_sdl_id(std::uint32_t window_id);
// The first window that has not been destroyed, or null.
HWND window_first_live();
// Whether the window is shown full screen at present (set by the window display driver).
bool window_is_fullscreen(HWND window);
// Whether frames shown on windows wait for the display's vertical sync (on unless switched off; a
// display without it shows them at once either way).
void window_set_vsync(bool on);
bool window_vsync();
