#include "platform/window/window_system.h"

#include <SDL.h>

#include <atomic>
#include <csignal>
#include <cstring>

#include "platform/message_box.h"
#include "platform/window/sdl_message_translate.h"
#include "platform/window/window_internal.h"

namespace {

bool g_started = false;
bool g_headless = true;
bool g_sdl_video = false;

volatile std::sig_atomic_t g_signal_close = 0;

extern "C" void window_system_on_signal(int)
{
    g_signal_close = 1;
}

void install_signal_handlers()
{
    std::signal(SIGINT, window_system_on_signal);
    std::signal(SIGTERM, window_system_on_signal);
}

}  // namespace

// Called by the message queue: a SIGINT / SIGTERM caught while headless, taken once.
bool window_system_take_signal_close()
{
    if (g_signal_close == 0) return false;
    g_signal_close = 0;
    return true;
}

bool window_system_start(bool force_headless)
{
    if (g_started) return !g_headless;
    g_started = true;
    g_headless = true;
    if (!force_headless && message_box_display_available()) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            // With the display unreachable SDL falls back to a video driver nobody can see; a window
            // there (and a dialog waiting for a click) would hang unseen, so that is headless too.
            const char* driver = SDL_GetCurrentVideoDriver();
            if (driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
                SDL_Log("no display reachable (SDL chose the %s video driver); running headless", driver);
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
            } else {
                g_sdl_video = true;
                g_headless = false;
            }
        } else {
            SDL_Log("no display: %s; running headless", SDL_GetError());
        }
    }
    if (g_headless) {
        message_box_set_headless(true);
        install_signal_handlers();
    }
    return !g_headless;
}

bool window_system_started() { return g_started; }

bool window_system_has_sdl_video() { return g_sdl_video; }

bool window_system_headless() { return !g_started || g_headless; }

void window_system_stop()
{
    window_registry_clear();
    if (g_sdl_video) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        g_sdl_video = false;
    }
    if (g_started && g_headless) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        message_box_set_headless(false);
    }
    g_started = false;
    g_headless = true;
    g_signal_close = 0;
}
