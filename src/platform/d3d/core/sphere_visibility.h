// ComputeSphereVisibility's arithmetic: the six frustum planes of World·View·Projection (left, right,
// top, bottom, front, back) plus the enabled user clip planes, and for each sphere the CLIPUNION bits
// of the planes it straddles or lies outside and the CLIPINTERSECTION bits of those it lies wholly
// outside. The viewport plays no part.
#pragma once

#include "platform/d3d/core/device_state.h"

void sphere_visibility(const DeviceState& state, const D3DVECTOR* centers, const D3DVALUE* radii, DWORD count,
                       DWORD* results);
