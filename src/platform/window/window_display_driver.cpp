#include "platform/window/window_display_driver.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/d3d/d3d_results.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_gl_context.h"
#include "platform/window/window_present.h"
#include "platform/window/window_system.h"

namespace {

DisplayMode mode_from_sdl(const SDL_DisplayMode& m)
{
    return DisplayMode{static_cast<DWORD>(m.w), static_cast<DWORD>(m.h),
                       window_depth_from_sdl(SDL_BITSPERPIXEL(m.format)), static_cast<DWORD>(std::max(m.refresh_rate, 0))};
}

}  // namespace

DWORD window_depth_from_sdl(DWORD sdl_bits_per_pixel)
{
    if (sdl_bits_per_pixel == 0) return 32;
    if (sdl_bits_per_pixel <= 8) return 8;
    if (sdl_bits_per_pixel <= 16) return 16;
    return 32;
}

std::vector<DisplayMode> window_modes_from_sdl(const std::vector<DisplayMode>& sdl_modes)
{
    std::vector<DisplayMode> out;
    for (const DisplayMode& m : sdl_modes) {
        for (DWORD depth : {16u, 32u}) {
            const DisplayMode candidate{m.width, m.height, depth, m.refresh_rate};
            if (std::find(out.begin(), out.end(), candidate) == out.end()) out.push_back(candidate);
        }
    }
    return out;
}

WindowDisplayDriver::WindowDisplayDriver(int display_index) : display_(display_index)
{
    // "VIRE" "DISP" and the display number: a stable identity for secondary displays.
    guid_ = GUID{0x56495245, 0x4449, 0x5350, {0, 0, 0, 0, 0, 0, 0, static_cast<BYTE>(display_index)}};
}

const GUID* WindowDisplayDriver::guid() const { return display_ == 0 ? nullptr : &guid_; }

std::string WindowDisplayDriver::description() const
{
    const char* name = SDL_GetDisplayName(display_);
    if (name != nullptr && name[0] != '\0') return name;
    char text[32];
    std::snprintf(text, sizeof text, "Display %d", display_ + 1);
    return text;
}

std::string WindowDisplayDriver::name() const
{
    char text[32];
    std::snprintf(text, sizeof text, "display%d", display_);
    return text;
}

DWORD WindowDisplayDriver::caps2() const { return DDCAPS2_CANRENDERWINDOWED; }

std::vector<DisplayMode> WindowDisplayDriver::modes() const
{
    std::vector<DisplayMode> sdl_modes;
    const int count = SDL_GetNumDisplayModes(display_);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(display_, i, &m) == 0) sdl_modes.push_back(mode_from_sdl(m));
    }
    if (sdl_modes.empty()) sdl_modes.push_back(current_mode());
    return window_modes_from_sdl(sdl_modes);
}

DisplayMode WindowDisplayDriver::current_mode() const
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (mode_set_) return mode_;
    }
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(display_, &m) != 0) return DisplayMode{640, 480, 32, 60};
    return mode_from_sdl(m);
}

void WindowDisplayDriver::leave_fullscreen_locked()
{
    if (WindowHandle* w = window_lookup(window_); w != nullptr && w->fullscreen) {
        if (w->sdl != nullptr) {
            SDL_SetWindowFullscreen(w->sdl, 0);
            SDL_SetWindowSize(w->sdl, w->client_width, w->client_height);
            SDL_SetWindowPosition(w->sdl, w->windowed_x, w->windowed_y);
        }
        w->fullscreen = false;
    }
    if (mode_set_) ++generation_;
    mode_set_ = false;
}

HRESULT WindowDisplayDriver::set_cooperative_level(HWND window, DWORD flags)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (!exclusive && exclusive_) leave_fullscreen_locked();
    exclusive_ = exclusive;
    if (window != nullptr) window_ = window;
    was_minimised_ = false;
    return DD_OK;
}

HRESULT WindowDisplayDriver::set_mode(const DisplayMode& mode)
{
    const std::vector<DisplayMode> offered = modes();
    const auto match = std::find_if(offered.begin(), offered.end(), [&](const DisplayMode& m) {
        return m.width == mode.width && m.height == mode.height && m.bits_per_pixel == mode.bits_per_pixel &&
               (mode.refresh_rate == 0 || m.refresh_rate == mode.refresh_rate);
    });
    if (match == offered.end()) return DDERR_INVALIDMODE;
    std::lock_guard<std::mutex> lock(mutex_);
    WindowHandle* w = window_lookup(window_);
    if (exclusive_ && w != nullptr && w->sdl != nullptr) {
        SDL_DisplayMode want{};
        want.w = static_cast<int>(match->width);
        want.h = static_cast<int>(match->height);
        want.refresh_rate = static_cast<int>(match->refresh_rate);
        SDL_DisplayMode closest;
        if (SDL_GetClosestDisplayMode(display_, &want, &closest) == nullptr) return DDERR_INVALIDMODE;
        if (!w->fullscreen) SDL_GetWindowPosition(w->sdl, &w->windowed_x, &w->windowed_y);
        // Without a window manager nothing moves a full-screen window to the display's corner.
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display_, &bounds) == 0) SDL_SetWindowPosition(w->sdl, bounds.x, bounds.y);
        SDL_SetWindowSize(w->sdl, want.w, want.h);
        if (SDL_SetWindowDisplayMode(w->sdl, &closest) != 0 ||
            SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN) != 0) {
            SDL_Log("full screen at %dx%d: %s", want.w, want.h, SDL_GetError());
            return DDERR_INVALIDMODE;
        }
        w->fullscreen = true;
    }
    const bool changed = !mode_set_ || !(mode_ == *match);
    mode_ = *match;
    mode_set_ = true;
    if (changed) ++generation_;
    return DD_OK;
}

HRESULT WindowDisplayDriver::restore_mode()
{
    std::lock_guard<std::mutex> lock(mutex_);
    leave_fullscreen_locked();
    return DD_OK;
}

bool WindowDisplayDriver::window_minimised_locked() const
{
    WindowHandle* w = window_lookup(window_);
    if (w == nullptr || w->sdl == nullptr) return false;
    return (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) != 0;
}

HRESULT WindowDisplayDriver::test_cooperative_level()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!exclusive_) return DD_OK;
    // A minimised full-screen window has given the display away: its surfaces are lost until it returns.
    const bool minimised = window_minimised_locked();
    if (minimised && !was_minimised_) ++generation_;
    was_minimised_ = minimised;
    return minimised ? DDERR_NOEXCLUSIVEMODE : DD_OK;
}

std::uint64_t WindowDisplayDriver::loss_generation() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return generation_;
}

void WindowDisplayDriver::present(const PresentImage& image, const RECT& dirty)
{
    HWND window;
    bool flip;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        window = window_;
        flip = exclusive_;
    }
    if (window == nullptr) window = window_first_live();
    if (window != nullptr) window_present_primary(window, image, dirty, flip);
}

HWND WindowDisplayDriver::exclusive_window() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return window_ != nullptr ? window_ : window_first_live();
}

bool WindowDisplayDriver::shows_window(HWND window) const
{
    WindowHandle* w = window_lookup(window);
    return w != nullptr && w->sdl != nullptr;
}

std::unique_ptr<NativeGlContext> WindowDisplayDriver::create_gl_context(HWND window, int major, int minor,
                                                                        std::string* error)
{
    WindowHandle* w = window_lookup(window);
    return window_gl_context_create(w != nullptr ? w->sdl : nullptr, major, minor, error);
}

void WindowDisplayDriver::set_gpu_presenter(HWND window, GpuPresenter presenter)
{
    window_set_gpu_presenter(window, std::move(presenter));
}

std::vector<std::shared_ptr<DisplayDriver>> window_display_drivers_create()
{
    std::vector<std::shared_ptr<DisplayDriver>> drivers;
    if (!window_system_has_sdl_video()) return drivers;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) drivers.push_back(std::make_shared<WindowDisplayDriver>(i));
    return drivers;
}
