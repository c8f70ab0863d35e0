// Reading any surface back as a FrameImage: the one readback of the program, used by the scene viewer,
// screenshots, video capture, the tests and the benchmarks alike. It works through the public
// interface (Lock, read-only), so a backend that mirrors surfaces on a GPU brings memory up to date
// first. Pixels of every colour format become 0xAARRGGBB, narrower channels widened by replicating
// their bits; formats without alpha read as opaque.
#pragma once

#include <vector>

#include "capture/frame_image.h"
#include "platform/d3d/ddraw.h"

// The whole surface.
HRESULT frame_readback(IDirectDrawSurface7* surface, FrameImage* image);
// The stored depth values of a z-buffer surface.
HRESULT frame_readback_depth(IDirectDrawSurface7* surface, std::vector<float>* depth, DWORD* width, DWORD* height);
