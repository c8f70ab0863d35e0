// The platform meaning of one SDL event for one window: closing the window is WM_CLOSE, a key is
// WM_KEYDOWN / WM_KEYUP with the platform's virtual-key code (Alt held: WM_SYSKEYDOWN / WM_SYSKEYUP),
// minimising and restoring are WM_SIZE with their size types, hiding and showing are WM_SIZE with
// SIZE_MAXHIDE / SIZE_MAXSHOW, a move is WM_MOVE with the client area's new screen position, an expose
// is WM_PAINT, pointer motion over the client area is WM_SETCURSOR followed by WM_MOUSEMOVE, and SDL's
// quit request (the last window closed, or SIGINT / SIGTERM) is WM_CLOSE. Pure: tests feed it
// constructed events without a display.
#pragma once

#include <cstddef>

#include "platform/window/messages.h"

union SDL_Event;

// Up to this many messages come from one event.
constexpr std::size_t kMaxMessagesPerEvent = 2;

// Writes the meanings of event for window (the window the event belongs to, already looked up by the
// caller; null: the event is dropped) into out and returns how many. screen_origin is the primary
// display's top-left in SDL's coordinates, so positions come out relative to it.
std::size_t sdl_event_to_messages(const SDL_Event& event, HWND window, POINT screen_origin, MSG* out);

// The platform's virtual-key code for an SDL key code, or 0 for keys the program has no name for.
WPARAM virtual_key_from_sdl(int sdl_keycode);
