// Everything the demo parts, the effects and the scene renderer use to talk to the device: the
// current device and the render helpers, one header per group.
#pragma once

#include "render/render_context.h"
#include "render/render_draw.h"
#include "render/render_lighting.h"
#include "render/render_setups.h"
#include "render/render_state.h"
#include "render/render_target.h"
#include "render/render_transform.h"
#include "render/render_viewport.h"
#include "render/vertex_buffer_create.h"
