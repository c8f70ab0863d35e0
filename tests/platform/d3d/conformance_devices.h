// The devices every conformance case and golden scene runs on. A backend joins the list with its
// device GUID (the OpenGL backend adds {"gl", &IID_IDirect3DTnLHalDevice}); a device not registered
// in this build is skipped.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/d3d/guids.h"
#include "support/image_compare.h"

struct ConformanceDevice {
    const char* name;  // used in test names: letters and digits only
    const GUID* guid;
    // How close golden scenes must come to the approved pictures (made by the software device).
    ImageTolerance golden;
};

inline const std::vector<ConformanceDevice>& conformance_devices()
{
    static const std::vector<ConformanceDevice> devices = {
        // The reference: exact up to one level of rounding.
        {"soft", &IID_IDirect3DRGBDevice, ImageTolerance{1, 0.0, 0.0, false}},
        // OpenGL: the same picture to 40 dB, a few edge pixels may differ more.
        {"gl", &IID_IDirect3DTnLHalDevice, ImageTolerance{24, 0.02, 40.0, false}},
    };
    return devices;
}

// GoogleTest prints a parameter with this.
inline void PrintTo(const ConformanceDevice& d, std::ostream* os) { *os << d.name; }
