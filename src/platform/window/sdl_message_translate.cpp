#include "platform/window/sdl_message_translate.h"

#include <SDL.h>

namespace {

MSG make(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD time)
{
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wparam;
    msg.lParam = lparam;
    msg.time = time;
    return msg;
}

// Repeat count 1, the scan code in bits 16-23, bit 30 for an auto-repeated key, bit 31 for a release.
LPARAM key_lparam(const SDL_KeyboardEvent& key)
{
    std::uint32_t bits = 1u | ((static_cast<std::uint32_t>(key.keysym.scancode) & 0xFFu) << 16);
    if (key.repeat != 0 || key.state == SDL_RELEASED) bits |= 1u << 30;
    if (key.state == SDL_RELEASED) bits |= 1u << 31;
    return static_cast<LPARAM>(bits);
}

}  // namespace

WPARAM virtual_key_from_sdl(int sdl_keycode)
{
    if (sdl_keycode >= SDLK_a && sdl_keycode <= SDLK_z) return static_cast<WPARAM>('A' + (sdl_keycode - SDLK_a));
    if (sdl_keycode >= SDLK_0 && sdl_keycode <= SDLK_9) return static_cast<WPARAM>('0' + (sdl_keycode - SDLK_0));
    if (sdl_keycode >= SDLK_F1 && sdl_keycode <= SDLK_F12) return VK_F1 + static_cast<WPARAM>(sdl_keycode - SDLK_F1);
    switch (sdl_keycode) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return VK_MENU;
        case SDLK_PAUSE: return VK_PAUSE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        default: return 0;
    }
}

std::size_t sdl_event_to_messages(const SDL_Event& event, HWND window, POINT screen_origin, MSG* out)
{
    if (window == nullptr || out == nullptr) return 0;
    const DWORD time = event.common.timestamp;
    switch (event.type) {
        case SDL_QUIT:
            out[0] = make(window, WM_CLOSE, 0, 0, time);
            return 1;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const WPARAM vk = virtual_key_from_sdl(event.key.keysym.sym);
            if (vk == 0) return 0;
            const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU;
            UINT message;
            if (event.type == SDL_KEYDOWN) {
                message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
            } else {
                message = alt ? WM_SYSKEYUP : WM_KEYUP;
            }
            out[0] = make(window, message, vk, key_lparam(event.key), time);
            return 1;
        }
        case SDL_MOUSEMOTION: {
            out[0] = make(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                          MAKELPARAM(static_cast<int>(HTCLIENT), static_cast<int>(WM_MOUSEMOVE)), time);
            out[1] = make(window, WM_MOUSEMOVE, 0, MAKELPARAM(event.motion.x, event.motion.y), time);
            return 2;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    out[0] = make(window, WM_CLOSE, 0, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_MINIMIZED:
                    out[0] = make(window, WM_SIZE, SIZE_MINIMIZED, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_MAXIMIZED:
                    out[0] = make(window, WM_SIZE, SIZE_MAXIMIZED, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_RESTORED:
                    out[0] = make(window, WM_SIZE, SIZE_RESTORED, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_HIDDEN:
                    out[0] = make(window, WM_SIZE, SIZE_MAXHIDE, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_SHOWN:
                    out[0] = make(window, WM_SIZE, SIZE_MAXSHOW, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    out[0] = make(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.window.data1, event.window.data2),
                                  time);
                    return 1;
                case SDL_WINDOWEVENT_MOVED:
                    out[0] = make(window, WM_MOVE, 0,
                                  MAKELPARAM(event.window.data1 - screen_origin.x, event.window.data2 - screen_origin.y),
                                  time);
                    return 1;
                case SDL_WINDOWEVENT_EXPOSED:
                    out[0] = make(window, WM_PAINT, 0, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    out[0] = make(window, WM_SETFOCUS, 0, 0, time);
                    return 1;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    out[0] = make(window, WM_KILLFOCUS, 0, 0, time);
                    return 1;
                default:
                    return 0;
            }
        default:
            return 0;
    }
}
