#include "platform/d3d/gl/shader_key.h"

#include "platform/d3d/gl/gl_enums.h"

namespace {

constexpr std::uint8_t kArgBits = D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE;

std::uint8_t arg_of(DWORD value)
{
    return static_cast<std::uint8_t>(value & kArgBits);
}

bool reads_texture(DWORD arg)
{
    return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
}

// Whether an operation reads its texture: through an argument it uses, or through the texture's alpha.
bool op_reads_texture(D3DTEXTUREOP op, std::uint8_t arg1, std::uint8_t arg2)
{
    if (op == D3DTOP_DISABLE) return false;
    if (reads_texture(arg1) && op != D3DTOP_SELECTARG2) return true;
    if (reads_texture(arg2) && op != D3DTOP_SELECTARG1) return true;
    return op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM;
}

std::uint8_t source_of(const DeviceState& state, DWORD which, const VertexLayout& layout)
{
    if (!state.render[D3DRENDERSTATE_COLORVERTEX]) return SHADER_SOURCE_MATERIAL;
    switch (d3d_decode_or(state.render[which], D3DMCS_MATERIAL)) {
    case D3DMCS_MATERIAL: return SHADER_SOURCE_MATERIAL;
    case D3DMCS_COLOR1: return layout.has_diffuse ? SHADER_SOURCE_DIFFUSE : SHADER_SOURCE_MATERIAL;
    case D3DMCS_COLOR2: return layout.has_specular ? SHADER_SOURCE_SPECULAR : SHADER_SOURCE_MATERIAL;
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

ShaderKey shader_key_build(const DeviceState& state, const VertexLayout& layout, const DrawBindings& bindings,
                           bool depth_active)
{
    ShaderKey key;
    const DWORD* rs = state.render;
    key.pretransformed = layout.pretransformed;
    key.has_normal = layout.has_normal;
    key.has_diffuse = layout.has_diffuse;
    key.has_specular = layout.has_specular;
    key.texcoord_count = static_cast<std::uint8_t>(layout.texcoord_count);
    key.specular = rs[D3DRENDERSTATE_SPECULARENABLE] != 0;

    if (!layout.pretransformed && rs[D3DRENDERSTATE_LIGHTING]) {
        key.lighting = 1;
        for (const LightSlot& slot : state.lights) {
            if (!slot.enabled || key.light_count == D3D_MAX_ACTIVE_LIGHTS) continue;
            key.light_types[key.light_count++] = static_cast<std::uint8_t>(slot.light.dltType);
        }
        key.local_viewer = rs[D3DRENDERSTATE_LOCALVIEWER] != 0;
        key.normalize_normals = rs[D3DRENDERSTATE_NORMALIZENORMALS] != 0;
        key.diffuse_source = source_of(state, D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, layout);
        key.ambient_source = source_of(state, D3DRENDERSTATE_AMBIENTMATERIALSOURCE, layout);
        key.specular_source = source_of(state, D3DRENDERSTATE_SPECULARMATERIALSOURCE, layout);
        key.emissive_source = source_of(state, D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, layout);
    }

    key.flat = d3d_decode_or(rs[D3DRENDERSTATE_SHADEMODE], D3DSHADE_GOURAUD) == D3DSHADE_FLAT;
    key.depth_clip = layout.pretransformed && depth_active;
    if (!layout.pretransformed) {
        key.clip_planes = static_cast<std::uint8_t>(rs[D3DRENDERSTATE_CLIPPLANEENABLE] & ((1u << D3D_MAX_CLIP_PLANES) - 1));
    }
    key.wbuffer = depth_active && rs[D3DRENDERSTATE_ZENABLE] == D3DZB_USEW;
    if (rs[D3DRENDERSTATE_ALPHATESTENABLE]) {
        key.alpha_func = static_cast<std::uint8_t>(d3d_decode_or(rs[D3DRENDERSTATE_ALPHAFUNC], D3DCMP_ALWAYS));
        if (key.alpha_func == D3DCMP_ALWAYS) key.alpha_func = 0;
    }

    for (DWORD s = 0; s < D3D_MAX_TEXTURE_STAGES; ++s) {
        const DWORD* ss = state.stage[s];
        const D3DTEXTUREOP color_op = d3d_decode_or(ss[D3DTSS_COLOROP], D3DTOP_DISABLE);
        if (color_op == D3DTOP_DISABLE) break;  // this stage and every later one are off
        D3DTEXTUREOP alpha_op = d3d_decode_or(ss[D3DTSS_ALPHAOP], D3DTOP_DISABLE);
        ShaderStageKey& st = key.stages[s];
        const bool has_texture = bindings.textures[s] != nullptr;
        st.color_op = static_cast<std::uint8_t>(color_op);
        st.color_arg1 = arg_of(ss[D3DTSS_COLORARG1]);
        st.color_arg2 = arg_of(ss[D3DTSS_COLORARG2]);
        // A stage without a texture whose operation reads one becomes SELECTARG1(CURRENT), for colour
        // and alpha separately, and the cascade goes on.
        if (!has_texture && op_reads_texture(color_op, st.color_arg1, st.color_arg2)) {
            st.color_op = D3DTOP_SELECTARG1;
            st.color_arg1 = D3DTA_CURRENT;
            st.color_arg2 = D3DTA_CURRENT;
        }
        st.alpha_arg1 = arg_of(ss[D3DTSS_ALPHAARG1]);
        st.alpha_arg2 = arg_of(ss[D3DTSS_ALPHAARG2]);
        if (!has_texture && op_reads_texture(alpha_op, st.alpha_arg1, st.alpha_arg2)) {
            alpha_op = D3DTOP_SELECTARG1;
            st.alpha_arg1 = D3DTA_CURRENT;
            st.alpha_arg2 = D3DTA_CURRENT;
        }
        st.alpha_op = static_cast<std::uint8_t>(alpha_op);
        if (alpha_op == D3DTOP_DISABLE) st.alpha_arg1 = st.alpha_arg2 = 0;
        st.sampled = has_texture && (op_reads_texture(static_cast<D3DTEXTUREOP>(st.color_op), st.color_arg1,
                                                      st.color_arg2) ||
                                     op_reads_texture(alpha_op, st.alpha_arg1, st.alpha_arg2));
        const DWORD set = ss[D3DTSS_TEXCOORDINDEX] & 0xFFFFu;
        st.texcoord = st.sampled ? (set < layout.texcoord_count ? static_cast<std::uint8_t>(set) : SHADER_NO_TEXCOORD) : 0;
        key.stage_count = static_cast<std::uint8_t>(s + 1);
    }
    return key;
}
