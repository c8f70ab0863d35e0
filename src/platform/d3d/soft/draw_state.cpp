#include "platform/d3d/soft/draw_state.h"

#include <algorithm>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/surface.h"
#include "platform/d3d/soft/pixel_ops.h"

namespace soft {
namespace {

bool op_supported(DWORD op)
{
    return op >= D3DTOP_SELECTARG1 && op <= D3DTOP_BLENDCURRENTALPHA;
}

bool reads_texture(DWORD op, DWORD arg1, DWORD arg2)
{
    return (op != D3DTOP_SELECTARG2 && (arg1 & D3DTA_SELECTMASK) == D3DTA_TEXTURE) ||
           (op != D3DTOP_SELECTARG1 && (arg2 & D3DTA_SELECTMASK) == D3DTA_TEXTURE) ||
           op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM;
}

// An operation the stage can carry out with the texture it has; otherwise SELECTARG1(CURRENT).
StageOp resolve_op(DWORD op, DWORD arg1, DWORD arg2, bool has_texture)
{
    if (!op_supported(op) || (!has_texture && reads_texture(op, arg1, arg2))) {
        return StageOp{static_cast<std::uint8_t>(D3DTOP_SELECTARG1), static_cast<std::uint8_t>(D3DTA_CURRENT),
                       static_cast<std::uint8_t>(D3DTA_CURRENT)};
    }
    return StageOp{static_cast<std::uint8_t>(op), static_cast<std::uint8_t>(arg1 & 0x3F),
                   static_cast<std::uint8_t>(arg2 & 0x3F)};
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

    const DWORD zenable = s.render[D3DRENDERSTATE_ZENABLE];
    if (b.depth != nullptr && zenable != D3DZB_FALSE) {
        k->depth = reinterpret_cast<float*>(b.depth->pixels());
        k->depth_pitch = b.depth->pitch() / 4;
        k->depth_mode = zenable == D3DZB_USEW ? DepthMode::W : DepthMode::Z;
        k->depth_func = static_cast<std::uint8_t>(std::clamp<DWORD>(s.render[D3DRENDERSTATE_ZFUNC], 1, 8));
        k->depth_write = s.render[D3DRENDERSTATE_ZWRITEENABLE] != 0;
        k->reject_outside_depth_range = pretransformed;
        k->inv_w_far = 1.0f / projection_w_far(s.projection());
    }

    for (unsigned stage = 0; stage < kStages; ++stage) {
        const DWORD* st = s.stage[stage];
        if (st[D3DTSS_COLOROP] == D3DTOP_DISABLE) break;
        StageProgram& p = k->stages[stage];
        Surface* texture = b.textures[stage];
        const bool has_texture = texture != nullptr;
        p.color = resolve_op(st[D3DTSS_COLOROP], st[D3DTSS_COLORARG1], st[D3DTSS_COLORARG2], has_texture);
        if (st[D3DTSS_ALPHAOP] == D3DTOP_DISABLE) {
            p.alpha_passthrough = true;
        } else {
            p.alpha = resolve_op(st[D3DTSS_ALPHAOP], st[D3DTSS_ALPHAARG1], st[D3DTSS_ALPHAARG2], has_texture);
        }
        p.reads_texture = has_texture && (reads_texture(p.color.op, p.color.arg1, p.color.arg2) ||
                                          (!p.alpha_passthrough && reads_texture(p.alpha.op, p.alpha.arg1, p.alpha.arg2)));
        if (p.reads_texture) {
            textures.view_of(*texture, &p.texture);
            p.texture.bilinear = st[D3DTSS_MAGFILTER] >= D3DTFG_LINEAR;
            p.texture.address_u = static_cast<std::uint8_t>(std::clamp<DWORD>(st[D3DTSS_ADDRESSU], 1, 4));
            p.texture.address_v = static_cast<std::uint8_t>(std::clamp<DWORD>(st[D3DTSS_ADDRESSV], 1, 4));
            p.texture.border = st[D3DTSS_BORDERCOLOR];
        }
        k->stage_count = stage + 1;
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
    k->alpha_func = static_cast<std::uint8_t>(std::clamp<DWORD>(s.render[D3DRENDERSTATE_ALPHAFUNC], 1, 8));
    k->alpha_ref = static_cast<std::uint8_t>(s.render[D3DRENDERSTATE_ALPHAREF] & 0xFF);
    k->blend = s.render[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    resolve_blend(static_cast<std::uint8_t>(std::min<DWORD>(s.render[D3DRENDERSTATE_SRCBLEND], 255)),
                  static_cast<std::uint8_t>(std::min<DWORD>(s.render[D3DRENDERSTATE_DESTBLEND], 255)), &k->src_blend,
                  &k->dst_blend);
}

}  // namespace soft
