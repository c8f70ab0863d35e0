#include "platform/d3d/core/state_reading.h"

#include <algorithm>

namespace {

constexpr DWORD kArgBits = D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE;

bool selects_texture(DWORD arg)
{
    return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
}

}  // namespace

bool state_stage_op_offered(DWORD op)
{
    return op >= D3DTOP_SELECTARG1 && op <= D3DTOP_BLENDCURRENTALPHA;
}

bool state_stage_op_reads_texture(DWORD op, DWORD arg1, DWORD arg2)
{
    if (op == D3DTOP_DISABLE) return false;
    if (selects_texture(arg1) && op != D3DTOP_SELECTARG2) return true;
    if (selects_texture(arg2) && op != D3DTOP_SELECTARG1) return true;
    return op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM;
}

StageOpRead state_stage_op(DWORD op, DWORD arg1, DWORD arg2, bool has_texture)
{
    if (!state_stage_op_offered(op) || (!has_texture && state_stage_op_reads_texture(op, arg1, arg2))) {
        return StageOpRead{};
    }
    return StageOpRead{static_cast<std::uint8_t>(op), static_cast<std::uint8_t>(arg1 & kArgBits),
                       static_cast<std::uint8_t>(arg2 & kArgBits)};
}

unsigned state_stages(const DeviceState& state, Surface* const textures[D3D_MAX_TEXTURE_STAGES],
                      StageRead out[D3D_MAX_TEXTURE_STAGES])
{
    unsigned count = 0;
    for (unsigned s = 0; s < D3D_MAX_TEXTURE_STAGES; ++s) {
        const DWORD* st = state.stage[s];
        if (st[D3DTSS_COLOROP] == D3DTOP_DISABLE) break;  // this stage and every later one are off
        StageRead& r = out[s];
        r = StageRead{};
        const bool has_texture = textures[s] != nullptr;
        r.color = state_stage_op(st[D3DTSS_COLOROP], st[D3DTSS_COLORARG1], st[D3DTSS_COLORARG2], has_texture);
        if (st[D3DTSS_ALPHAOP] == D3DTOP_DISABLE) {
            r.alpha_passthrough = true;
        } else {
            r.alpha = state_stage_op(st[D3DTSS_ALPHAOP], st[D3DTSS_ALPHAARG1], st[D3DTSS_ALPHAARG2], has_texture);
        }
        r.samples = has_texture &&
                    (state_stage_op_reads_texture(r.color.op, r.color.arg1, r.color.arg2) ||
                     (!r.alpha_passthrough && state_stage_op_reads_texture(r.alpha.op, r.alpha.arg1, r.alpha.arg2)));
        count = s + 1;
    }
    return count;
}

void state_blend_factors(DWORD source, DWORD destination, D3DBLEND* out_source, D3DBLEND* out_destination)
{
    if (source == D3DBLEND_BOTHSRCALPHA) {
        *out_source = D3DBLEND_SRCALPHA;
        *out_destination = D3DBLEND_INVSRCALPHA;
        return;
    }
    if (source == D3DBLEND_BOTHINVSRCALPHA) {
        *out_source = D3DBLEND_INVSRCALPHA;
        *out_destination = D3DBLEND_SRCALPHA;
        return;
    }
    auto plain = [](DWORD v) { return v >= D3DBLEND_ZERO && v <= D3DBLEND_SRCALPHASAT; };
    *out_source = plain(source) ? static_cast<D3DBLEND>(source) : D3DBLEND_ONE;
    *out_destination = plain(destination) ? static_cast<D3DBLEND>(destination) : D3DBLEND_ZERO;
}

D3DCMPFUNC state_compare(DWORD value)
{
    return static_cast<D3DCMPFUNC>(std::clamp<DWORD>(value, D3DCMP_NEVER, D3DCMP_ALWAYS));
}

D3DTEXTUREADDRESS state_address(DWORD value)
{
    return static_cast<D3DTEXTUREADDRESS>(std::clamp<DWORD>(value, D3DTADDRESS_WRAP, D3DTADDRESS_BORDER));
}

D3DTEXTUREMAGFILTER state_filter(DWORD magfilter)
{
    return magfilter >= D3DTFG_LINEAR ? D3DTFG_LINEAR : D3DTFG_POINT;
}

D3DCULL state_cull(DWORD value)
{
    if (value == D3DCULL_CW) return D3DCULL_CW;
    if (value == D3DCULL_CCW) return D3DCULL_CCW;
    return D3DCULL_NONE;
}

D3DFILLMODE state_fill(DWORD value)
{
    if (value == D3DFILL_POINT) return D3DFILL_POINT;
    if (value == D3DFILL_WIREFRAME) return D3DFILL_WIREFRAME;
    return D3DFILL_SOLID;
}

DepthRead state_depth(const DeviceState& state, bool has_zbuffer)
{
    const DWORD zenable = state.render[D3DRENDERSTATE_ZENABLE];
    if (!has_zbuffer || zenable == D3DZB_FALSE) return DepthRead::Off;
    return zenable == D3DZB_USEW ? DepthRead::W : DepthRead::Z;
}

MaterialSourceRead state_material_source(const DeviceState& state, DWORD which, const VertexLayout& layout)
{
    if (!state.render[D3DRENDERSTATE_COLORVERTEX]) return MATERIAL_SOURCE_MATERIAL;
    // The vertex colour counts only when the format has it; every other value means the material.
    const DWORD source = state.render[which];
    if (source == D3DMCS_COLOR1 && layout.has_diffuse) return MATERIAL_SOURCE_DIFFUSE;
    if (source == D3DMCS_COLOR2 && layout.has_specular) return MATERIAL_SOURCE_SPECULAR;
    return MATERIAL_SOURCE_MATERIAL;
}

unsigned state_active_lights(const DeviceState& state, const LightSlot* out[D3D_MAX_ACTIVE_LIGHTS])
{
    unsigned count = 0;
    for (const LightSlot& slot : state.lights) {
        if (!slot.enabled) continue;
        if (count == D3D_MAX_ACTIVE_LIGHTS) break;
        out[count++] = &slot;
    }
    return count;
}

GuardBand state_guard_band(const D3DVIEWPORT7& vp)
{
    return GuardBand{static_cast<float>(vp.dwX) - D3D_GUARD_BAND, static_cast<float>(vp.dwY) - D3D_GUARD_BAND,
                     static_cast<float>(vp.dwX + vp.dwWidth) + D3D_GUARD_BAND,
                     static_cast<float>(vp.dwY + vp.dwHeight) + D3D_GUARD_BAND};
}
