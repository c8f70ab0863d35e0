#include "platform/d3d/gl/shader_key.h"

#include "platform/d3d/core/state_reading.h"
#include "platform/d3d/core/surface.h"

#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/target_quantize.h"

namespace {

std::uint8_t source_of(const DeviceState& state, DWORD which, const VertexLayout& layout)
{
    switch (state_material_source(state, which, layout)) {
    case MATERIAL_SOURCE_MATERIAL: return SHADER_SOURCE_MATERIAL;
    case MATERIAL_SOURCE_DIFFUSE: return SHADER_SOURCE_DIFFUSE;
    case MATERIAL_SOURCE_SPECULAR: return SHADER_SOURCE_SPECULAR;
    }
    return SHADER_SOURCE_MATERIAL;
}

}  // namespace

std::size_t ShaderKeyHash::operator()(const ShaderKey& key) const
{
    // FNV-1a over the bytes.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&key);
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < sizeof key; ++i) {
        h ^= bytes[i];
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

ShaderKey shader_key_build(const DeviceState& state, const VertexLayout& layout, DWORD flags,
                           const DrawBindings& bindings, bool depth_active)
{
    ShaderKey key;
    const DWORD* rs = state.render;
    key.pretransformed = layout.pretransformed;
    key.has_normal = layout.has_normal;
    key.has_diffuse = layout.has_diffuse;
    key.has_specular = layout.has_specular;
    key.texcoord_count = static_cast<std::uint8_t>(layout.texcoord_count);
    key.specular = rs[D3DRENDERSTATE_SPECULARENABLE] != 0;

    if (!layout.pretransformed && rs[D3DRENDERSTATE_LIGHTING] && !(flags & D3DDP_DONOTLIGHT)) {
        key.lighting = 1;
        const LightSlot* active[D3D_MAX_ACTIVE_LIGHTS];
        key.light_count = static_cast<std::uint8_t>(state_active_lights(state, active));
        for (unsigned n = 0; n < key.light_count; ++n) {
            key.light_types[n] = static_cast<std::uint8_t>(active[n]->light.dltType);
        }
        key.local_viewer = rs[D3DRENDERSTATE_LOCALVIEWER] != 0;
        key.normalize_normals = rs[D3DRENDERSTATE_NORMALIZENORMALS] != 0;
        key.diffuse_source = source_of(state, D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, layout);
        key.ambient_source = source_of(state, D3DRENDERSTATE_AMBIENTMATERIALSOURCE, layout);
        key.specular_source = source_of(state, D3DRENDERSTATE_SPECULARMATERIALSOURCE, layout);
        key.emissive_source = source_of(state, D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, layout);
    }

    key.flat = rs[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT;
    key.depth_clip = layout.pretransformed && depth_active;
    if (!layout.pretransformed) {
        key.clip_planes = static_cast<std::uint8_t>(rs[D3DRENDERSTATE_CLIPPLANEENABLE] & ((1u << D3D_MAX_CLIP_PLANES) - 1));
    }
    key.wbuffer = depth_active && state_depth(state, true) == DepthRead::W;
    if (rs[D3DRENDERSTATE_ALPHATESTENABLE]) {
        key.alpha_func = static_cast<std::uint8_t>(state_compare(rs[D3DRENDERSTATE_ALPHAFUNC]));
        if (key.alpha_func == D3DCMP_ALWAYS) key.alpha_func = 0;
    }

    // A 16-bit target keeps its colours at its own precision between draws: an unblended draw writes them
    // so; a blended one is brought down afterwards (target_quantize.h).
    if (bindings.target != nullptr && quantize_needed(bindings.target->kind()) && !rs[D3DRENDERSTATE_ALPHABLENDENABLE]) {
        key.quantize = static_cast<std::uint8_t>(static_cast<unsigned>(bindings.target->kind()) + 1);
    }

    StageRead stages[D3D_MAX_TEXTURE_STAGES];
    key.stage_count = static_cast<std::uint8_t>(state_stages(state, bindings.textures, stages));
    for (unsigned s = 0; s < key.stage_count; ++s) {
        const StageRead& r = stages[s];
        ShaderStageKey& st = key.stages[s];
        st.color_op = r.color.op;
        st.color_arg1 = r.color.arg1;
        st.color_arg2 = r.color.arg2;
        if (r.alpha_passthrough) {
            st.alpha_op = D3DTOP_DISABLE;  // the alpha passes through
        } else {
            st.alpha_op = r.alpha.op;
            st.alpha_arg1 = r.alpha.arg1;
            st.alpha_arg2 = r.alpha.arg2;
        }
        st.sampled = r.samples;
        const DWORD set = state.stage[s][D3DTSS_TEXCOORDINDEX] & 0xFFFFu;
        st.texcoord = st.sampled ? (set < layout.texcoord_count ? static_cast<std::uint8_t>(set) : SHADER_NO_TEXCOORD) : 0;
    }
    return key;
}
