#include "effects/motion_blur.h"

#include "render/render.h"
#include "textures/texture_manager.h"

DWORD motion_blur_target_size(DWORD viewport_dimension) { return viewport_dimension > 512 ? 512 : 256; }

HRESULT MotionBlur::create_target() {
    D3DVIEWPORT7 viewport{};
    get_viewport(&viewport);
    return texture_create_target(MOTION_BLUR_TEXTURE, motion_blur_target_size(viewport.dwWidth),
                                 motion_blur_target_size(viewport.dwHeight), 32, 0, 0, DDSCAPS_3DDEVICE);
}

void MotionBlur::release() {
    texture_release_surface(MOTION_BLUR_TEXTURE);
    texture_delete(MOTION_BLUR_TEXTURE);
}

void MotionBlur::begin() { set_render_target(texture_get_surface(MOTION_BLUR_TEXTURE)); }

void MotionBlur::end(IDirectDrawSurface7* back_buffer) { set_render_target(back_buffer); }

void MotionBlur::draw(float alpha) {
    if (current_device == nullptr) return;
    state_block_ = 0;
    const bool captured = SUCCEEDED(current_device->CreateStateBlock(D3DSBT_ALL, &state_block_));
    set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_stage_state(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    set_stage_state(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    set_stage_state(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    set_stage_state(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    set_render_state(D3DRENDERSTATE_LIGHTING, FALSE);
    set_render_state(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
    set_texture(0, texture_get_surface(MOTION_BLUR_TEXTURE));
    set_texture(1, nullptr);

    const D3DCOLOR colour = (static_cast<D3DCOLOR>(static_cast<int>(alpha * 255.0f)) << 24) | 0x00FFFFFFu;
    D3DVIEWPORT7 viewport{};
    get_viewport(&viewport);
    const float w = static_cast<float>(viewport.dwWidth);
    const float h = static_cast<float>(viewport.dwHeight);
    D3DTLVERTEX strip[4] = {
        {0.0f, h, 0.5f, 0.5f, colour, 0, 0.0f, 1.0f},
        {0.0f, 0.0f, 0.5f, 0.5f, colour, 0, 0.0f, 0.0f},
        {w, h, 0.5f, 0.5f, colour, 0, 1.0f, 1.0f},
        {w, 0.0f, 0.5f, 0.5f, colour, 0, 1.0f, 0.0f},
    };
    draw_primitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, strip, 4, 0);

    if (captured) {
        current_device->ApplyStateBlock(state_block_);
        current_device->DeleteStateBlock(state_block_);
    }
    state_block_ = 0;
}
