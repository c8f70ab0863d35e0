#include "render/render_context.h"

IDirect3DDevice7* current_device = nullptr;

namespace {
RenderObjects g_objects;
}

void render_objects_set(const RenderObjects& objects) {
    g_objects = objects;
    current_device = objects.device;
}

const RenderObjects& render_objects() { return g_objects; }
