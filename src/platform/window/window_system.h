// The window system's life: whether the program has a display (SDL's video subsystem on X11 or
// Wayland) or runs headless, starting and stopping it, and the hand-over of SDL events that another
// loop (the modal Settings dialog) fetched but does not handle itself. Headless means no display
// exists, SDL picked a video driver nobody can see (offscreen, dummy), or the program asked for it;
// windows then have no SDL object, message boxes go to standard error, and SIGINT / SIGTERM arrive as
// WM_CLOSE for the program's window, as the display's close button would.
#pragma once

union SDL_Event;

// Starts the window system once (later calls return the first answer): true with a display.
bool window_system_start(bool force_headless);
bool window_system_started();
bool window_system_headless();
// Destroys every window still open and stops SDL video; the next start begins afresh.
void window_system_stop();

// Queues the meanings of one SDL event fetched elsewhere, as PeekMessageA would have.
void window_system_queue_event(const SDL_Event& event);
