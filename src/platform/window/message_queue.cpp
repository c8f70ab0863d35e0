// The program's one message queue: posted messages, the quit flag, and SDL events translated into
// messages one event at a time.
#include <SDL.h>

#include <deque>

#include "platform/window/messages.h"
#include "platform/window/sdl_message_translate.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_system.h"

namespace {

std::deque<MSG> g_posted;
bool g_quit = false;
int g_quit_code = 0;

bool passes(const MSG& msg, HWND window, UINT filter_min, UINT filter_max)
{
    if (window != nullptr && msg.hwnd != window) return false;
    if (filter_min == 0 && filter_max == 0) return true;
    return msg.message >= filter_min && msg.message <= filter_max;
}

bool take_posted(MSG* msg, HWND window, UINT filter_min, UINT filter_max, UINT remove)
{
    for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
        if (!passes(*it, window, filter_min, filter_max)) continue;
        *msg = *it;
        if (remove & PM_REMOVE) g_posted.erase(it);
        return true;
    }
    return false;
}

std::uint32_t event_window_id(const SDL_Event& event)
{
    switch (event.type) {
        case SDL_WINDOWEVENT: return event.window.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP: return event.key.windowID;
        case SDL_MOUSEMOTION: return event.motion.windowID;
        default: return 0;
    }
}

void queue_event(const SDL_Event& event)
{
    HWND target = nullptr;
    if (event.type == SDL_QUIT) {
        target = window_first_live();
    } else if (const std::uint32_t id = event_window_id(event); id != 0) {
        target = window_from_sdl_id(id);
    }
    MSG messages[kMaxMessagesPerEvent];
    const std::size_t count = sdl_event_to_messages(event, target, window_screen_origin(), messages);
    for (std::size_t i = 0; i < count; ++i) g_posted.push_back(messages[i]);
}

}  // namespace

void window_system_queue_event(const SDL_Event& event) { queue_event(event); }

BOOL PeekMessageA(MSG* msg, HWND window, UINT filter_min, UINT filter_max, UINT remove)
{
    if (msg == nullptr) return FALSE;
    if (take_posted(msg, window, filter_min, filter_max, remove)) return TRUE;
    const bool quit_wanted = window == nullptr && passes(MSG{nullptr, WM_QUIT}, nullptr, filter_min, filter_max);
    if (g_quit && quit_wanted) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(g_quit_code);
        if (remove & PM_REMOVE) g_quit = false;
        return TRUE;
    }
    if (window_system_take_signal_close()) {
        if (HWND target = window_first_live()) {
            g_posted.push_back(MSG{target, WM_CLOSE});
        } else {
            PostQuitMessage(0);
        }
        return PeekMessageA(msg, window, filter_min, filter_max, remove);
    }
    if (window_system_has_sdl_video()) {
        SDL_Event event;
        if (SDL_PollEvent(&event) == 1) {
            queue_event(event);
            if (take_posted(msg, window, filter_min, filter_max, remove)) return TRUE;
        }
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg)
{
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM ch = 0;
    const WPARAM vk = msg->wParam;
    if (vk >= 'A' && vk <= 'Z') {
        ch = vk - 'A' + 'a';
    } else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK ||
               vk == VK_TAB) {
        ch = vk;
    }
    if (ch == 0) return FALSE;
    g_posted.push_back(MSG{msg->hwnd, WM_CHAR, ch, msg->lParam, msg->time, msg->pt});
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr) return 0;
    WindowHandle* w = window_lookup(msg->hwnd);
    if (w == nullptr || w->procedure == nullptr) return 0;
    return w->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exit_code)
{
    g_quit = true;
    g_quit_code = exit_code;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (window != nullptr && window_lookup(window) == nullptr) return FALSE;
    g_posted.push_back(MSG{window, message, wparam, lparam});
    return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr || w->procedure == nullptr) return 0;
    return w->procedure(window, message, wparam, lparam);
}

void message_queue_reset()
{
    g_posted.clear();
    g_quit = false;
    g_quit_code = 0;
}

bool message_queue_quit_posted(int* exit_code)
{
    if (exit_code != nullptr) *exit_code = g_quit_code;
    return g_quit;
}
