// The display driver of one SDL display, plugged beneath the DirectDraw object when the program has a
// display: its desktop mode, the full-screen modes it offers (each resolution SDL reports, at 16 and
// 32 bits per pixel: surfaces keep their own pixel format and the window layer converts when it shows
// them), exclusive full-screen operation by putting the window full screen at the mode, the loss of the
// display while a full-screen window is minimised, presents shown on the window (window_present.h), and OpenGL contexts and GPU presenting on
// its windows (window_gl_context.h).
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/d3d/core/display_driver.h"

class WindowDisplayDriver final : public DisplayDriver {
public:
    // display_index: SDL's display number; the first display is the primary driver (no GUID).
    explicit WindowDisplayDriver(int display_index);

    const GUID* guid() const override;
    std::string description() const override;
    std::string name() const override;
    DWORD caps2() const override;
    std::vector<DisplayMode> modes() const override;
    DisplayMode current_mode() const override;
    HRESULT set_cooperative_level(HWND window, DWORD flags) override;
    HRESULT set_mode(const DisplayMode& mode) override;
    HRESULT restore_mode() override;
    HRESULT test_cooperative_level() override;
    std::uint64_t loss_generation() const override;
    void present(const PresentImage& image, const RECT& dirty) override;
    HWND exclusive_window() const override;
    bool shows_window(HWND window) const override;
    std::unique_ptr<NativeGlContext> create_gl_context(HWND window, int major, int minor,
                                                       std::string* error) override;
    void set_gpu_presenter(HWND window, GpuPresenter presenter) override;

    int display_index() const { return display_; }

private:
    void leave_fullscreen_locked();
    bool window_minimised_locked() const;

    int display_;
    GUID guid_{};
    mutable std::mutex mutex_;
    HWND window_ = nullptr;
    bool exclusive_ = false;
    bool mode_set_ = false;
    DisplayMode mode_{};
    mutable bool was_minimised_ = false;
    mutable std::uint64_t generation_ = 0;
};

// One driver per SDL display, the primary first; empty without SDL video.
std::vector<std::shared_ptr<DisplayDriver>> window_display_drivers_create();

// The modes a driver offers for the resolutions SDL lists: each distinct width × height × refresh at
// 16 and at 32 bits per pixel, in SDL's order.
std::vector<DisplayMode> window_modes_from_sdl(const std::vector<DisplayMode>& sdl_modes);
// SDL's bits per pixel mapped onto the layer's depths (15/16 stay 16, 24/32 become 32, 8 stays 8).
DWORD window_depth_from_sdl(DWORD sdl_bits_per_pixel);
