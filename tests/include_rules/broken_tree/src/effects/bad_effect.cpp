// An effect that reaches past the render helpers.
#include "effects/bad_effect.h"
#include "platform/d3d/soft/rasterizer.h"
#include <SDL.h>
#include <vector>
#include "render/render.h"
