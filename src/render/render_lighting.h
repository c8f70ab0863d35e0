// Lighting helpers: the device's material, its lights and their enable flags.
#pragma once

#include "platform/d3d/d3d.h"

HRESULT set_material(const D3DMATERIAL7& material);
HRESULT set_light(DWORD index, const D3DLIGHT7& light);
HRESULT enable_light(DWORD index, bool on);
