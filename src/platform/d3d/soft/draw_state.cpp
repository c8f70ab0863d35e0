#include "platform/d3d/soft/draw_state.h"

#include <algorithm>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/soft/pixel_ops.h"

namespace soft {
namespace {

StageOp stage_op_of(const StageOpRead& r)
{
    return StageOp{r.op, r.arg1, r.arg2};
}

}  // namespace

void resolve_draw_constants(const DeviceState& s, const DrawBindings& b, bool pretransformed, TextureCache& textures,
                            DrawConstants* k)
{
    *k = DrawConstants{};
    Surface& target = *b.target;
    k->color = target.pixels();
    k->color_pitch = target.pitch();
    k->color_kind = target.kind();
    k->target_alpha = pixel_kind_has_alpha(target.kind());

    const D3DVIEWPORT7& vp = s.viewport;
    k->scissor_x0 = static_cast<int>(std::min<DWORD>(vp.dwX, target.width()));
    k->scissor_y0 = static_cast<int>(std::min<DWORD>(vp.dwY, target.height()));
    k->scissor_x1 = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(vp.dwX) + vp.dwWidth, target.width()));
    k->scissor_y1 = static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(vp.dwY) + vp.dwHeight, target.height()));

    const DepthRead depth = state_depth(s, b.depth != nullptr);
    if (depth != DepthRead::Off) {
        k->depth = reinterpret_cast<float*>(b.depth->pixels());
        k->depth_pitch = b.depth->pitch() / 4;
        k->depth_mode = depth == DepthRead::W ? DepthMode::W : DepthMode::Z;
        k->depth_func = static_cast<std::uint8_t>(state_compare(s.render[D3DRENDERSTATE_ZFUNC]));
        k->depth_write = s.render[D3DRENDERSTATE_ZWRITEENABLE] != 0;
        k->reject_outside_depth_range = pretransformed;
        k->inv_w_far = 1.0f / projection_w_far(s.projection());
    }

    StageRead stages[D3D_MAX_TEXTURE_STAGES];
    k->stage_count = std::min(state_stages(s, b.textures, stages), kStages);  // the stages this device blends
    for (unsigned stage = 0; stage < k->stage_count; ++stage) {
        const StageRead& r = stages[stage];
        const DWORD* st = s.stage[stage];
        StageProgram& p = k->stages[stage];
        p.color = stage_op_of(r.color);
        p.alpha_passthrough = r.alpha_passthrough;
        if (!r.alpha_passthrough) p.alpha = stage_op_of(r.alpha);
        p.reads_texture = r.samples;
        if (p.reads_texture) {
            textures.view_of(*b.textures[stage], &p.texture);
            p.texture.bilinear = state_filter(st[D3DTSS_MAGFILTER]) == D3DTFG_LINEAR;
            p.texture.address_u = static_cast<std::uint8_t>(state_address(st[D3DTSS_ADDRESSU]));
            p.texture.address_v = static_cast<std::uint8_t>(state_address(st[D3DTSS_ADDRESSV]));
            p.texture.border = st[D3DTSS_BORDERCOLOR];
        }
    }
    k->texture_factor = s.render[D3DRENDERSTATE_TEXTUREFACTOR];
    k->specular_add = s.render[D3DRENDERSTATE_SPECULARENABLE] != 0;
    bool reads_specular = k->specular_add;
    k->attr_mask = 0xFu << kAttrDiffuse;
    for (unsigned stage = 0; stage < k->stage_count; ++stage) {
        const StageProgram& p = k->stages[stage];
        for (std::uint8_t arg : {p.color.arg1, p.color.arg2, p.alpha.arg1, p.alpha.arg2}) {
            reads_specular |= (arg & D3DTA_SELECTMASK) == D3DTA_SPECULAR;
        }
        if (p.reads_texture) k->attr_mask |= 0x3u << (kAttrTex + 2 * stage);
    }
    if (reads_specular) k->attr_mask |= 0x7u << kAttrSpecular;
    k->flat = s.render[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT;
    k->alpha_test = s.render[D3DRENDERSTATE_ALPHATESTENABLE] != 0;
    k->alpha_func = static_cast<std::uint8_t>(state_compare(s.render[D3DRENDERSTATE_ALPHAFUNC]));
    k->alpha_ref = static_cast<std::uint8_t>(s.render[D3DRENDERSTATE_ALPHAREF] & 0xFF);
    k->blend = s.render[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    D3DBLEND src = D3DBLEND_ONE, dst = D3DBLEND_ZERO;
    state_blend_factors(s.render[D3DRENDERSTATE_SRCBLEND], s.render[D3DRENDERSTATE_DESTBLEND], &src, &dst);
    k->src_blend = static_cast<std::uint8_t>(src);
    k->dst_blend = static_cast<std::uint8_t>(dst);
}

}  // namespace soft
