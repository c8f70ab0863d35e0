// Reading any surface back as RGBA, for tests, golden images and frame capture. Works through the
// public interface (Lock, read-only), so a backend that mirrors surfaces elsewhere is asked to bring
// memory up to date first.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3d/ddraw.h"

struct SurfaceImage {
    DWORD width = 0;
    DWORD height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB per pixel, rows top first; alpha 0xFF without alpha bits
    std::uint32_t at(DWORD x, DWORD y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

// The whole surface; a depth surface reads as grey levels of its depth (0 black … 1 white).
HRESULT surface_capture(IDirectDrawSurface7* surface, SurfaceImage* image);
// The stored depth values of a z-buffer surface.
HRESULT surface_capture_depth(IDirectDrawSurface7* surface, std::vector<float>* depth, DWORD* width, DWORD* height);
