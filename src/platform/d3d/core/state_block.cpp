#include "platform/d3d/core/state_block.h"

#include "platform/d3d/core/surface.h"

StateBlock::~StateBlock()
{
    for (Surface*& t : state.textures) {
        if (t != nullptr) t->Release();
        t = nullptr;
    }
}

void StateBlock::hold_texture(DWORD stage, Surface* texture)
{
    if (texture != nullptr) texture->AddRef();
    if (state.textures[stage] != nullptr) state.textures[stage]->Release();
    state.textures[stage] = texture;
}

void StateBlock::cover_light(DWORD index, bool params, bool enable)
{
    if (state.lights.size() <= index) state.lights.resize(index + 1);
    if (mask.light_params.size() <= index) mask.light_params.resize(index + 1, false);
    if (mask.light_enables.size() <= index) mask.light_enables.resize(index + 1, false);
    if (params) mask.light_params[index] = true;
    if (enable) mask.light_enables[index] = true;
}

StateBlockMask state_block_mask_of(D3DSTATEBLOCKTYPE type, const DeviceState& current)
{
    StateBlockMask m;
    const bool all = type == D3DSBT_ALL;
    const bool pixel = all || type == D3DSBT_PIXELSTATE;
    const bool vertex = all || type == D3DSBT_VERTEXSTATE;
    for (DWORD s = 0; s < D3D_RENDERSTATE_COUNT; ++s) {
        if (!render_state_is_valid(s)) continue;
        if (all || (pixel && render_state_is_pixel_state(s)) || (vertex && render_state_is_vertex_state(s))) {
            m.render.set(s);
        }
    }
    for (DWORD stage = 0; stage < D3D_MAX_TEXTURE_STAGES; ++stage) {
        for (DWORD s = 1; s < D3D_TEXTURESTAGESTATE_COUNT; ++s) {
            if (all || (pixel && stage_state_is_pixel_state(s)) || (vertex && !stage_state_is_pixel_state(s))) {
                m.stage[stage].set(s);
            }
        }
    }
    if (all) {
        m.textures.set();
        m.transforms.set();
        m.clip_planes.set();
        m.material = true;
        m.viewport = true;
    }
    if (vertex) {
        m.light_params.assign(current.lights.size(), true);
        m.light_enables.assign(current.lights.size(), true);
    }
    return m;
}

void state_block_capture(StateBlock* block, const DeviceState& current)
{
    StateBlockMask& m = block->mask;
    DeviceState& s = block->state;
    for (DWORD i = 0; i < D3D_RENDERSTATE_COUNT; ++i) {
        if (m.render.test(i)) s.render[i] = current.render[i];
    }
    for (DWORD stage = 0; stage < D3D_MAX_TEXTURE_STAGES; ++stage) {
        for (DWORD i = 0; i < D3D_TEXTURESTAGESTATE_COUNT; ++i) {
            if (m.stage[stage].test(i)) s.stage[stage][i] = current.stage[stage][i];
        }
        if (m.textures.test(stage)) block->hold_texture(stage, current.textures[stage]);
    }
    for (unsigned i = 0; i < TRANSFORM_SLOT_COUNT; ++i) {
        if (m.transforms.test(i)) s.transforms[i] = current.transforms[i];
    }
    for (DWORD i = 0; i < D3D_MAX_CLIP_PLANES; ++i) {
        if (m.clip_planes.test(i)) {
            for (int k = 0; k < 4; ++k) s.clip_planes[i][k] = current.clip_planes[i][k];
        }
    }
    if (m.material) s.material = current.material;
    if (m.viewport) s.viewport = current.viewport;
    if (s.lights.size() < m.light_params.size()) s.lights.resize(m.light_params.size());
    for (std::size_t i = 0; i < m.light_params.size() && i < current.lights.size(); ++i) {
        if (m.light_params[i]) s.lights[i].light = current.lights[i].light;
    }
    for (std::size_t i = 0; i < m.light_enables.size() && i < current.lights.size(); ++i) {
        if (m.light_enables[i]) s.lights[i].enabled = current.lights[i].enabled;
    }
}
