#include "render/render_setups.h"

#include "render/render_state.h"

HRESULT set_blended_overlay() { return set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA); }

HRESULT set_diffuse_only()
{
    set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    return set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
}

HRESULT set_textured()
{
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    return set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
}
