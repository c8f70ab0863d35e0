#include "platform/d3d/core/headless_display.h"

#include "platform/d3d/d3d_results.h"

DisplayMode HeadlessDisplayDriver::current_mode() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return mode_set_ ? mode_override_ : config_.desktop;
}

HRESULT HeadlessDisplayDriver::set_cooperative_level(HWND, DWORD flags)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (!exclusive && exclusive_ && mode_set_) {
        mode_set_ = false;  // leaving exclusive mode gives the desktop its own mode back
        ++generation_;
    }
    exclusive_ = exclusive;
    return DD_OK;
}

HRESULT HeadlessDisplayDriver::set_mode(const DisplayMode& mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const DisplayMode& m : config_.modes) {
        if (m.width == mode.width && m.height == mode.height && m.bits_per_pixel == mode.bits_per_pixel &&
            (mode.refresh_rate == 0 || m.refresh_rate == mode.refresh_rate)) {
            const DisplayMode before = mode_set_ ? mode_override_ : config_.desktop;
            mode_override_ = m;
            mode_set_ = true;
            if (!(before == m)) ++generation_;  // a mode change loses surfaces, as on the platform
            return DD_OK;
        }
    }
    return DDERR_INVALIDMODE;
}

HRESULT HeadlessDisplayDriver::restore_mode()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (mode_set_ && !(mode_override_ == config_.desktop)) ++generation_;
    mode_set_ = false;
    return DD_OK;
}

HRESULT HeadlessDisplayDriver::test_cooperative_level()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!taken_) return DD_OK;
    return exclusive_ ? DDERR_NOEXCLUSIVEMODE : DDERR_EXCLUSIVEMODEALREADYSET;
}

std::uint64_t HeadlessDisplayDriver::loss_generation() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return generation_;
}

void HeadlessDisplayDriver::present(const PresentImage&, const RECT& dirty)
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++presents_;
    last_rect_ = dirty;
}

void HeadlessDisplayDriver::simulate_display_taken(bool taken)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (taken && !taken_) ++generation_;
    taken_ = taken;
}

unsigned HeadlessDisplayDriver::present_count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return presents_;
}

RECT HeadlessDisplayDriver::last_present_rect() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return last_rect_;
}
