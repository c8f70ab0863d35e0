#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool g_forced_headless = false;
MessageBoxCapture* g_capture = nullptr;

bool env_set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

Uint32 sdl_flags_for(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

void write_to_stderr(const char* text, const char* caption) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    std::fflush(stderr);
}
}  // namespace

void message_box_set_headless(bool headless) { g_forced_headless = headless; }

bool message_box_display_available() {
    if (g_forced_headless) return false;
    if (const char* driver = std::getenv("SDL_VIDEODRIVER")) {
        if (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return false;
    }
    return env_set("DISPLAY") || env_set("WAYLAND_DISPLAY");
}

int MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type) {
    const char* shown_text = text != nullptr ? text : "";
    const char* shown_caption = caption != nullptr ? caption : "Error";
    if (g_capture != nullptr) {
        g_capture->boxes_.push_back({shown_text, shown_caption, type});
        return IDOK;
    }
    if (message_box_display_available() &&
        SDL_ShowSimpleMessageBox(sdl_flags_for(type), shown_caption, shown_text, nullptr) == 0) {
        return IDOK;
    }
    write_to_stderr(shown_text, shown_caption);
    return IDOK;
}

MessageBoxCapture::MessageBoxCapture() { g_capture = this; }
MessageBoxCapture::~MessageBoxCapture() {
    if (g_capture == this) g_capture = nullptr;
}
