// Turns the device state of one draw into DrawConstants: target and depth surfaces, scissor, the stage
// programme with the platform's rules applied (COLOROP DISABLE ends the cascade; a stage that reads a
// missing texture does SELECTARG1(CURRENT) instead, for colour and alpha separately; ALPHAOP DISABLE
// with colour enabled passes CURRENT's alpha through; CURRENT at stage 0 is DIFFUSE), depth mode with
// the w-buffer scale from the projection in use, alpha test and blend factors.
#pragma once

#include "platform/d3d/core/device_backend.h"
#include "platform/d3d/soft/draw_constants.h"
#include "platform/d3d/soft/texture_cache.h"

namespace soft {

void resolve_draw_constants(const DeviceState& state, const DrawBindings& bindings, bool pretransformed,
                            TextureCache& textures, DrawConstants* k);

}  // namespace soft
