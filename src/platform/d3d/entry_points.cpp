// DirectDrawEnumerateExA and DirectDrawCreateEx: the two functions through which the program reaches
// the device layer. Both first make sure the built-in backends are registered.
#include <new>
#include <string>
#include <vector>

#include "platform/d3d/builtin_backends.h"
#include "platform/d3d/core/direct_draw.h"
#include "platform/d3d/core/display_driver.h"
#include "platform/d3d/ddraw.h"

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags)
{
    d3d_builtin_backends_register();
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    constexpr DWORD known = DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES;
    if (flags & ~known) return DDERR_INVALIDPARAMS;
    for (const auto& driver : display_drivers()) {
        const GUID* own = driver->guid();
        if (own != nullptr && flags == 0) continue;  // secondary drivers only when asked for
        GUID guid = own != nullptr ? *own : GUID{};
        std::string description = driver->description();
        std::string name = driver->name();
        std::vector<char> d(description.begin(), description.end());
        d.push_back('\0');
        std::vector<char> n(name.begin(), name.end());
        n.push_back('\0');
        if (!callback(own != nullptr ? &guid : nullptr, d.data(), n.data(), context, nullptr)) break;
    }
    return DD_OK;
}

HRESULT DirectDrawCreateEx(GUID* guid, void** direct_draw, REFIID iid, IUnknown* outer)
{
    d3d_builtin_backends_register();
    if (direct_draw == nullptr) return DDERR_INVALIDPARAMS;
    *direct_draw = nullptr;
    if (!(iid == IID_IDirectDraw7)) return DDERR_INVALIDPARAMS;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    std::shared_ptr<DisplayDriver> driver = display_driver_find(guid);
    if (!driver) return DDERR_INVALIDDIRECTDRAWGUID;
    DirectDraw* dd = new (std::nothrow) DirectDraw(std::move(driver));
    if (dd == nullptr) return DDERR_OUTOFMEMORY;
    *direct_draw = static_cast<IDirectDraw7*>(dd);
    return DD_OK;
}
