// State blocks on the device: recording (BeginStateBlock / EndStateBlock), creating a block that
// captures a whole category of state (CreateStateBlock), capturing again, applying and deleting.
#include "platform/d3d/core/device.h"
#include "platform/d3d/core/surface.h"

HRESULT Device::BeginStateBlock()
{
    if (recording_) return D3DERR_INBEGINSTATEBLOCK;
    recording_ = std::make_unique<StateBlock>();
    return D3D_OK;
}

HRESULT Device::EndStateBlock(DWORD* block)
{
    if (block == nullptr) return DDERR_INVALIDPARAMS;
    if (!recording_) return D3DERR_NOTINBEGINSTATEBLOCK;
    const DWORD handle = next_block_++;
    blocks_[handle] = std::move(recording_);
    *block = handle;
    return D3D_OK;
}

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE type, DWORD* block)
{
    if (block == nullptr) return DDERR_INVALIDPARAMS;
    if (type != D3DSBT_ALL && type != D3DSBT_PIXELSTATE && type != D3DSBT_VERTEXSTATE) return DDERR_INVALIDPARAMS;
    if (recording_) return D3DERR_INBEGINSTATEBLOCK;
    auto b = std::make_unique<StateBlock>();
    b->mask = state_block_mask_of(type, state_);
    state_block_capture(b.get(), state_);
    const DWORD handle = next_block_++;
    blocks_[handle] = std::move(b);
    *block = handle;
    return D3D_OK;
}

HRESULT Device::CaptureStateBlock(DWORD block)
{
    if (recording_) return D3DERR_INBEGINSTATEBLOCK;
    auto it = blocks_.find(block);
    if (it == blocks_.end()) return D3DERR_INVALIDSTATEBLOCK;
    state_block_capture(it->second.get(), state_);
    return D3D_OK;
}

HRESULT Device::DeleteStateBlock(DWORD block)
{
    if (recording_) return D3DERR_INBEGINSTATEBLOCK;
    if (blocks_.erase(block) == 0) return D3DERR_INVALIDSTATEBLOCK;
    return D3D_OK;
}

HRESULT Device::ApplyStateBlock(DWORD block)
{
    if (recording_) return D3DERR_INBEGINSTATEBLOCK;
    auto it = blocks_.find(block);
    if (it == blocks_.end()) return D3DERR_INVALIDSTATEBLOCK;
    apply_block(*it->second);
    return D3D_OK;
}

void Device::apply_block(const StateBlock& block)
{
    const StateBlockMask& m = block.mask;
    const DeviceState& s = block.state;
    if (m.render.any()) {
        for (DWORD i = 0; i < D3D_RENDERSTATE_COUNT; ++i) {
            if (m.render.test(i)) state_.render[i] = s.render[i];
        }
        dirty_ |= DIRTY_RENDER_STATE;
    }
    for (DWORD stage = 0; stage < D3D_MAX_TEXTURE_STAGES; ++stage) {
        if (m.stage[stage].any()) {
            for (DWORD i = 0; i < D3D_TEXTURESTAGESTATE_COUNT; ++i) {
                if (m.stage[stage].test(i)) state_.stage[stage][i] = s.stage[stage][i];
            }
            dirty_ |= DIRTY_STAGE_STATE;
        }
        if (m.textures.test(stage)) {
            bind_texture(state_, stage, s.textures[stage]);
            dirty_ |= DIRTY_TEXTURE;
        }
    }
    if (m.transforms.any()) {
        for (unsigned i = 0; i < TRANSFORM_SLOT_COUNT; ++i) {
            if (m.transforms.test(i)) state_.transforms[i] = s.transforms[i];
        }
        dirty_ |= DIRTY_TRANSFORM;
    }
    if (m.clip_planes.any()) {
        for (DWORD i = 0; i < D3D_MAX_CLIP_PLANES; ++i) {
            if (!m.clip_planes.test(i)) continue;
            for (int k = 0; k < 4; ++k) state_.clip_planes[i][k] = s.clip_planes[i][k];
        }
        dirty_ |= DIRTY_CLIP_PLANE;
    }
    if (m.material) {
        state_.material = s.material;
        dirty_ |= DIRTY_MATERIAL;
    }
    if (m.viewport) {
        // A viewport that no longer fits the current target is left as it is.
        const D3DVIEWPORT7& v = s.viewport;
        if (static_cast<std::uint64_t>(v.dwX) + v.dwWidth <= target_->width() &&
            static_cast<std::uint64_t>(v.dwY) + v.dwHeight <= target_->height()) {
            state_.viewport = v;
            dirty_ |= DIRTY_VIEWPORT;
        }
    }
    const std::size_t lights = std::max(m.light_params.size(), m.light_enables.size());
    for (std::size_t i = 0; i < lights; ++i) {
        const bool params = i < m.light_params.size() && m.light_params[i];
        const bool enable = i < m.light_enables.size() && m.light_enables[i];
        if (!params && !enable) continue;
        if (state_.lights.size() <= i) state_.lights.resize(i + 1);
        if (defined_lights_.size() <= i) defined_lights_.resize(i + 1, false);
        if (params) {
            state_.lights[i].light = s.lights[i].light;
            defined_lights_[i] = true;
        }
        if (enable) state_.lights[i].enabled = s.lights[i].enabled;
        dirty_ |= DIRTY_LIGHT;
    }
}
