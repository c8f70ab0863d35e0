#include <mutex>

#include "platform/d3d/core/device_backend.h"

namespace {

std::mutex& registry_mutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<DeviceBackendInfo>& registry()
{
    static std::vector<DeviceBackendInfo> backends;
    return backends;
}

}  // namespace

void d3d_backend_register(DeviceBackendInfo info)
{
    info.caps.deviceGUID = info.guid;
    std::lock_guard<std::mutex> lock(registry_mutex());
    for (DeviceBackendInfo& existing : registry()) {
        if (existing.guid == info.guid) {
            existing = std::move(info);
            return;
        }
    }
    registry().push_back(std::move(info));
}

std::vector<DeviceBackendInfo> d3d_backend_list()
{
    std::lock_guard<std::mutex> lock(registry_mutex());
    return registry();
}

bool d3d_backend_find(REFCLSID guid, DeviceBackendInfo* info)
{
    std::lock_guard<std::mutex> lock(registry_mutex());
    for (const DeviceBackendInfo& existing : registry()) {
        if (existing.guid == guid) {
            *info = existing;
            return true;
        }
    }
    return false;
}
