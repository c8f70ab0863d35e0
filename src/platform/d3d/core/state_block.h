// A recorded set of device state (CreateStateBlock, or BeginStateBlock/EndStateBlock): the values it
// holds and a mask of which ones it covers. Capturing copies the covered values from the device;
// applying writes them back. Textures in a block hold their own reference.
#pragma once

#include <bitset>
#include <vector>

#include "platform/d3d/core/device_state.h"

struct StateBlockMask {
    std::bitset<D3D_RENDERSTATE_COUNT> render;
    std::bitset<D3D_TEXTURESTAGESTATE_COUNT> stage[D3D_MAX_TEXTURE_STAGES];
    std::bitset<D3D_MAX_TEXTURE_STAGES> textures;
    std::bitset<TRANSFORM_SLOT_COUNT> transforms;
    std::bitset<D3D_MAX_CLIP_PLANES> clip_planes;
    bool material = false;
    bool viewport = false;
    std::vector<bool> light_params;  // by light index
    std::vector<bool> light_enables;
};

class StateBlock {
public:
    StateBlock() = default;
    StateBlock(const StateBlock&) = delete;
    StateBlock& operator=(const StateBlock&) = delete;
    ~StateBlock();

    DeviceState state;
    StateBlockMask mask;

    // Keeps a reference to texture (may be null) for stage, releasing the one held before.
    void hold_texture(DWORD stage, Surface* texture);
    // Marks light index as covered (params and/or enable), growing the light tables as needed.
    void cover_light(DWORD index, bool params, bool enable);
};

// The mask of a D3DSBT_* block type over the current state (lights: those that exist now).
StateBlockMask state_block_mask_of(D3DSTATEBLOCKTYPE type, const DeviceState& current);
// Copies the covered values of current into block.
void state_block_capture(StateBlock* block, const DeviceState& current);
