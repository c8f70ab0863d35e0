#include "platform/d3d/core/display_driver.h"

#include <mutex>

#include "platform/d3d/core/headless_display.h"

namespace {

std::mutex& registry_mutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<std::shared_ptr<DisplayDriver>>& registry()
{
    static std::vector<std::shared_ptr<DisplayDriver>> drivers;
    return drivers;
}

}  // namespace

std::unique_ptr<NativeGlContext> DisplayDriver::create_gl_context(HWND, int, int, std::string* error)
{
    if (error != nullptr) *error = "the display shows no windows";
    return nullptr;
}

void DisplayDriver::set_gpu_presenter(HWND, GpuPresenter) {}

std::vector<std::shared_ptr<DisplayDriver>> display_drivers()
{
    std::lock_guard<std::mutex> lock(registry_mutex());
    auto& drivers = registry();
    if (drivers.empty()) drivers.push_back(std::make_shared<HeadlessDisplayDriver>());
    return drivers;
}

void display_drivers_install(std::vector<std::shared_ptr<DisplayDriver>> drivers)
{
    std::lock_guard<std::mutex> lock(registry_mutex());
    registry() = std::move(drivers);
}

std::shared_ptr<DisplayDriver> display_driver_find(const GUID* guid)
{
    for (const auto& driver : display_drivers()) {
        const GUID* own = driver->guid();
        if (guid == nullptr && own == nullptr) return driver;
        if (guid != nullptr && own != nullptr && *guid == *own) return driver;
    }
    return nullptr;
}
