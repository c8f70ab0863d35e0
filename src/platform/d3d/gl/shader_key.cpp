#include "platform/d3d/gl/shader_key.h"

#include "platform/d3d/core/surface.h"

#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/target_quantize.h"

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

// The operations the device offers (its dwTextureOpCaps): SELECTARG1 up to BLENDCURRENTALPHA.
bool op_offered(DWORD op)
{
    return op >= D3DTOP_SELECTARG1 && op <= D3DTOP_BLENDCURRENTALPHA;
}

// An operation as the stage carries it out: one it cannot (not offered, or reading a texture the stage
// does not have) becomes SELECTARG1(CURRENT) and the cascade goes on.
void resolve_op(DWORD op, DWORD arg1, DWORD arg2, bool has_texture, std::uint8_t* out_op, std::uint8_t* out_arg1,
                std::uint8_t* out_arg2)
{
    *out_arg1 = arg_of(arg1);
    *out_arg2 = arg_of(arg2);
    if (!op_offered(op) || (!has_texture && op_reads_texture(static_cast<D3DTEXTUREOP>(op), *out_arg1, *out_arg2))) {
        *out_op = D3DTOP_SELECTARG1;
        *out_arg1 = D3DTA_CURRENT;
        *out_arg2 = D3DTA_CURRENT;
        return;
    }
    *out_op = static_cast<std::uint8_t>(op);
}

std::uint8_t source_of(const DeviceState& state, DWORD which, const VertexLayout& layout)
{
    if (!state.render[D3DRENDERSTATE_COLORVERTEX]) return SHADER_SOURCE_MATERIAL;
    // The vertex colour counts only when the format has it; every other value means the material.
    const DWORD source = state.render[which];
    if (source == D3DMCS_COLOR1 && layout.has_diffuse) return SHADER_SOURCE_DIFFUSE;
    if (source == D3DMCS_COLOR2 && layout.has_specular) return SHADER_SOURCE_SPECULAR;
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

    key.flat = rs[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT;
    key.depth_clip = layout.pretransformed && depth_active;
    if (!layout.pretransformed) {
        key.clip_planes = static_cast<std::uint8_t>(rs[D3DRENDERSTATE_CLIPPLANEENABLE] & ((1u << D3D_MAX_CLIP_PLANES) - 1));
    }
    key.wbuffer = depth_active && rs[D3DRENDERSTATE_ZENABLE] == D3DZB_USEW;  // other non-zero values mean z
    if (rs[D3DRENDERSTATE_ALPHATESTENABLE]) {
        key.alpha_func = static_cast<std::uint8_t>(d3d_compare_of(rs[D3DRENDERSTATE_ALPHAFUNC]));
        if (key.alpha_func == D3DCMP_ALWAYS) key.alpha_func = 0;
    }

    // A 16-bit target keeps its colours at its own precision between draws: an unblended draw writes them
    // so; a blended one is brought down afterwards (target_quantize.h).
    if (bindings.target != nullptr && quantize_needed(bindings.target->kind()) && !rs[D3DRENDERSTATE_ALPHABLENDENABLE]) {
        key.quantize = static_cast<std::uint8_t>(static_cast<unsigned>(bindings.target->kind()) + 1);
    }

    for (DWORD s = 0; s < D3D_MAX_TEXTURE_STAGES; ++s) {
        const DWORD* ss = state.stage[s];
        if (ss[D3DTSS_COLOROP] == D3DTOP_DISABLE) break;  // this stage and every later one are off
        ShaderStageKey& st = key.stages[s];
        const bool has_texture = bindings.textures[s] != nullptr;
        resolve_op(ss[D3DTSS_COLOROP], ss[D3DTSS_COLORARG1], ss[D3DTSS_COLORARG2], has_texture, &st.color_op,
                   &st.color_arg1, &st.color_arg2);
        if (ss[D3DTSS_ALPHAOP] == D3DTOP_DISABLE) {
            st.alpha_op = D3DTOP_DISABLE;  // the alpha passes through
        } else {
            resolve_op(ss[D3DTSS_ALPHAOP], ss[D3DTSS_ALPHAARG1], ss[D3DTSS_ALPHAARG2], has_texture, &st.alpha_op,
                       &st.alpha_arg1, &st.alpha_arg2);
        }
        st.sampled = has_texture &&
                     (op_reads_texture(static_cast<D3DTEXTUREOP>(st.color_op), st.color_arg1, st.color_arg2) ||
                      op_reads_texture(static_cast<D3DTEXTUREOP>(st.alpha_op), st.alpha_arg1, st.alpha_arg2));
        const DWORD set = ss[D3DTSS_TEXCOORDINDEX] & 0xFFFFu;
        st.texcoord = st.sampled ? (set < layout.texcoord_count ? static_cast<std::uint8_t>(set) : SHADER_NO_TEXCOORD) : 0;
        key.stage_count = static_cast<std::uint8_t>(s + 1);
    }
    return key;
}
