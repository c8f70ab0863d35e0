// The headless display driver: no window and no screen. Its primary surface is an off-screen picture
// in memory, its mode list is fixed (640×480×16, 640×480×32, 800×600×32, 1024×768×32 unless configured
// otherwise) and presents are counted and remembered, so the framework and tests can check what would
// have been shown. Tests can also take the display away (as another application would in full-screen
// operation) to exercise lost surfaces and cooperative-level results.
#pragma once

#include <mutex>

#include "platform/d3d/core/display_driver.h"

struct HeadlessDisplayConfig {
    std::vector<DisplayMode> modes = {
        {640, 480, 16, 60}, {640, 480, 32, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}};
    DisplayMode desktop = {640, 480, 32, 60};
    std::string description = "Headless display";
    std::string name = "headless";
    DWORD caps2 = DDCAPS2_CANRENDERWINDOWED;
};

class HeadlessDisplayDriver : public DisplayDriver {
public:
    HeadlessDisplayDriver() = default;
    explicit HeadlessDisplayDriver(HeadlessDisplayConfig config) : config_(std::move(config)) {}

    const GUID* guid() const override { return nullptr; }
    std::string description() const override { return config_.description; }
    std::string name() const override { return config_.name; }
    DWORD caps2() const override { return config_.caps2; }
    std::vector<DisplayMode> modes() const override { return config_.modes; }
    DisplayMode current_mode() const override;
    HRESULT set_cooperative_level(HWND window, DWORD flags) override;
    HRESULT set_mode(const DisplayMode& mode) override;
    HRESULT restore_mode() override;
    HRESULT test_cooperative_level() override;
    std::uint64_t loss_generation() const override;
    void present(const PresentImage& image, const RECT& dirty) override;

    // Another application takes (true) or gives back (false) the display. Taking it loses every
    // surface; while it is away an exclusive owner gets DDERR_NOEXCLUSIVEMODE from TestCooperativeLevel.
    void simulate_display_taken(bool taken);

    // What has been presented so far.
    unsigned present_count() const;
    RECT last_present_rect() const;

private:
    HeadlessDisplayConfig config_;
    mutable std::mutex mutex_;
    DisplayMode mode_override_{};
    bool mode_set_ = false;
    bool exclusive_ = false;
    bool taken_ = false;
    std::uint64_t generation_ = 0;
    unsigned presents_ = 0;
    RECT last_rect_{};
};
