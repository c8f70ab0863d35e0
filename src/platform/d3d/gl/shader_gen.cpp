#include "platform/d3d/gl/shader_gen.h"

#include "platform/d3d/gl/gl_enums.h"
#include "platform/d3d/gl/target_quantize.h"

namespace {

const char* const kBlock = R"(layout(std140) uniform FixedFunction {
    mat4 world;
    mat4 world_view;
    mat4 world_view_proj;
    mat4 normal_matrix;
    vec4 viewport;        // x, y, width, height in pixels
    vec4 depth_params;    // min z, max z, w far, alpha reference (0-255)
    vec4 pixel_offset;    // NDC shift x, y for transformed vertices; z: shift in pixels
    vec4 ambient;
    vec4 texture_factor;
    vec4 material_diffuse;
    vec4 material_ambient;
    vec4 material_specular;
    vec4 material_emissive;
    vec4 material_power;
    vec4 light_diffuse[8];
    vec4 light_specular[8];
    vec4 light_ambient[8];
    vec4 light_position[8];
    vec4 light_direction[8];
    vec4 light_attenuation[8];  // a0, a1, a2, range
    vec4 light_spot[8];         // cos(theta / 2), cos(phi / 2), falloff
    vec4 clip_plane[6];
};
)";

std::string num(unsigned n)
{
    return std::to_string(n);
}

std::string source_expr(std::uint8_t source, const char* material)
{
    switch (source) {
    case SHADER_SOURCE_DIFFUSE: return "in_diffuse";
    case SHADER_SOURCE_SPECULAR: return "in_specular";
    default: return material;
    }
}

// The contribution of light i (its type known) to amb, dif and spe.
std::string light_code(const ShaderKey& key, unsigned i)
{
    const std::string n = num(i);
    std::string s = "    {\n";
    D3DLIGHTTYPE type = static_cast<D3DLIGHTTYPE>(key.light_types[i]);
    bool directional = false, spot = false;
    switch (type) {
    case D3DLIGHT_DIRECTIONAL: directional = true; break;
    case D3DLIGHT_SPOT: spot = true; break;
    case D3DLIGHT_POINT: break;
    }
    if (directional) {
        s += "        vec3 L = light_direction[" + n + "].xyz;\n        float f = 1.0;\n        {\n";
    } else {
        s += "        vec3 D = light_position[" + n + "].xyz - P;\n";
        s += "        float d = length(D);\n";
        s += "        if (d <= light_attenuation[" + n + "].w) {\n";
        s += "        vec3 L = d > 0.0 ? D / d : vec3(0.0);\n";
        s += "        float denom = light_attenuation[" + n + "].x + light_attenuation[" + n + "].y * d + light_attenuation[" +
             n + "].z * d * d;\n";
        s += "        float f = denom > 0.0 ? 1.0 / denom : 1.0;\n";
        if (spot) {
            s += "        float rho = dot(-L, light_direction[" + n + "].xyz);\n";
            s += "        vec4 cone = light_spot[" + n + "];\n";
            s += "        float ramp = (rho - cone.y) / (cone.x - cone.y);\n";
            s += "        f *= rho > cone.x ? 1.0 : (rho <= cone.y ? 0.0 : (cone.z == 1.0 ? ramp : pow(ramp, cone.z)));\n";
        }
    }
    s += "        amb += light_ambient[" + n + "].rgb * f;\n";
    if (key.has_normal) {
        s += "        float ndl = dot(N, L);\n";
        s += "        if (ndl > 0.0) {\n";
        s += "            dif += light_diffuse[" + n + "].rgb * (ndl * f);\n";
        if (key.specular) {
            s += "            vec3 H = safe_normalize(L + V);\n";
            s += "            float ndh = dot(N, H);\n";
            s += "            if (ndh > 0.0) spe += light_specular[" + n +
                 "].rgb * ((material_power.x == 0.0 ? 1.0 : pow(ndh, material_power.x)) * f);\n";
        }
        s += "        }\n";
    }
    s += "        }\n    }\n";
    return s;
}

std::string vertex_shader(const ShaderKey& key, const bool (&sets_used)[D3D_MAX_TEXTURE_STAGES])
{
    const char* qualifier = key.flat ? "flat out" : "out";
    std::string s = "#version 330 core\n";
    s += kBlock;
    s += "layout(location = 0) in vec4 in_position;\n";
    if (key.has_normal) s += "layout(location = 1) in vec3 in_normal;\n";
    if (key.has_diffuse) s += "layout(location = 2) in vec4 in_diffuse;\n";
    if (key.has_specular) s += "layout(location = 3) in vec4 in_specular;\n";
    for (unsigned i = 0; i < key.texcoord_count; ++i) {
        if (sets_used[i]) s += "layout(location = " + num(SHADER_ATTRIB_TEXCOORD0 + i) + ") in vec2 in_texcoord" + num(i) + ";\n";
    }
    s += std::string(qualifier) + " vec4 v_diffuse;\n" + qualifier + " vec4 v_specular;\n";
    for (unsigned i = 0; i < key.texcoord_count; ++i) {
        if (sets_used[i]) s += "out vec2 v_texcoord" + num(i) + ";\n";
    }
    s += "vec3 safe_normalize(vec3 v) {\n    float l = length(v);\n    return l > 0.0 ? v / l : vec3(0.0);\n}\n";
    s += "void main() {\n";
    if (key.pretransformed) {
        // Screen x, y relative to the target, depth as given, 1/w for perspective-correct attributes.
        // Pixel centres are at integer coordinates on the device and at +0.5 in GL: shift them over.
        // A 1/w that is not a positive finite number puts the vertex behind the eye (w = -1).
        s += "    float w = (in_position.w > 0.0 && !isinf(in_position.w)) ? 1.0 / in_position.w : -1.0;\n";
        s += "    vec2 ndc = (in_position.xy + pixel_offset.zz - viewport.xy) * 2.0 / viewport.zw - 1.0;\n";
        s += "    gl_Position = vec4(ndc * w, (2.0 * in_position.z - 1.0) * w, w);\n";
        if (key.depth_clip) {
            s += "    gl_ClipDistance[0] = in_position.z * w;\n";
            s += "    gl_ClipDistance[1] = (1.0 - in_position.z) * w;\n";
        }
    } else {
        s += "    vec4 p = vec4(in_position.xyz, 1.0);\n";
        s += "    vec4 clip = world_view_proj * p;\n";
        // y flips (device screens run down), the half-pixel shift moves device pixel centres onto GL's,
        // and depth becomes min z + (z / w)(max z - min z), clipped to 0 <= z <= w.
        s += "    gl_Position = vec4(clip.x + pixel_offset.x * clip.w, -clip.y + pixel_offset.y * clip.w,\n";
        s += "                       (2.0 * depth_params.x - 1.0) * clip.w + 2.0 * (depth_params.y - depth_params.x) * clip.z,\n";
        s += "                       clip.w);\n";
        s += "    gl_ClipDistance[0] = clip.z;\n";
        s += "    gl_ClipDistance[1] = clip.w - clip.z;\n";
        if (key.clip_planes != 0) {
            s += "    vec4 world_position = world * p;\n";
            unsigned slot = 2;
            for (unsigned i = 0; i < D3D_MAX_CLIP_PLANES; ++i) {
                if (key.clip_planes & (1u << i)) {
                    s += "    gl_ClipDistance[" + num(slot++) + "] = dot(clip_plane[" + num(i) + "], world_position);\n";
                }
            }
        }
    }
    if (key.lighting) {
        s += "    vec3 P = (world_view * p).xyz;\n";
        if (key.has_normal) {
            s += key.normalize_normals ? "    vec3 N = safe_normalize(mat3(normal_matrix) * in_normal);\n"
                                       : "    vec3 N = mat3(normal_matrix) * in_normal;\n";
        }
        if (key.specular && key.has_normal) {
            s += key.local_viewer ? "    vec3 V = safe_normalize(-P);\n" : "    vec3 V = vec3(0.0, 0.0, -1.0);\n";
        }
        s += "    vec3 amb = ambient.rgb;\n    vec3 dif = vec3(0.0);\n    vec3 spe = vec3(0.0);\n";
        for (unsigned i = 0; i < key.light_count; ++i) s += light_code(key, i);
        s += "    vec4 cd = " + source_expr(key.diffuse_source, "material_diffuse") + ";\n";
        s += "    vec4 ca = " + source_expr(key.ambient_source, "material_ambient") + ";\n";
        s += "    vec4 cs = " + source_expr(key.specular_source, "material_specular") + ";\n";
        s += "    vec4 ce = " + source_expr(key.emissive_source, "material_emissive") + ";\n";
        s += "    v_diffuse = clamp(vec4(ca.rgb * amb + cd.rgb * dif + ce.rgb, cd.a), 0.0, 1.0);\n";
        s += "    v_specular = clamp(vec4(cs.rgb * spe, cs.a), 0.0, 1.0);\n";
    } else {
        s += key.has_diffuse ? "    v_diffuse = in_diffuse;\n" : "    v_diffuse = vec4(1.0);\n";
        s += key.has_specular ? "    v_specular = in_specular;\n" : "    v_specular = vec4(0.0);\n";
    }
    for (unsigned i = 0; i < key.texcoord_count; ++i) {
        if (sets_used[i]) s += "    v_texcoord" + num(i) + " = in_texcoord" + num(i) + ";\n";
    }
    s += "}\n";
    return s;
}

// An argument as a vec4 expression.
// An argument the operation does not read may name a texture the stage does not sample: it reads 0.
std::string arg_expr(std::uint8_t arg, unsigned stage, bool sampled)
{
    std::string base;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: base = "diffuse"; break;
    case D3DTA_CURRENT: base = "current"; break;
    case D3DTA_TEXTURE: base = sampled ? "t" + num(stage) : "vec4(0.0)"; break;
    case D3DTA_TFACTOR: base = "texture_factor"; break;
    case D3DTA_SPECULAR: base = "specular"; break;
    default: base = "diffuse"; break;  // selectors the device does not define read as DIFFUSE
    }
    if (arg & D3DTA_COMPLEMENT) base = "(vec4(1.0) - " + base + ")";
    if (arg & D3DTA_ALPHAREPLICATE) base = "vec4(" + base + ".a)";
    return base;
}

// The operation on arguments a1 and a2 (already narrowed to .rgb or .a by the caller). scalar: the
// alpha channel. Only the operations the device offers reach here (shader_key.cpp turns the others
// into SELECTARG1(CURRENT)).
std::string op_expr(D3DTEXTUREOP op, const std::string& a1, const std::string& a2, unsigned stage, bool scalar)
{
    // The signed operations subtract 128 on the 0..255 scale.
    const std::string half = scalar ? "(128.0 / 255.0)" : "vec3(128.0 / 255.0)";
    const std::string t = "t" + num(stage);
    switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return a1 + " * " + a2;
    case D3DTOP_MODULATE2X: return "2.0 * " + a1 + " * " + a2;
    case D3DTOP_MODULATE4X: return "4.0 * " + a1 + " * " + a2;
    case D3DTOP_ADD: return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED: return a1 + " + " + a2 + " - " + half;
    case D3DTOP_ADDSIGNED2X: return "2.0 * (" + a1 + " + " + a2 + " - " + half + ")";
    case D3DTOP_SUBTRACT: return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH: return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + a2 + ", " + a1 + ", " + t + ".a)";
    case D3DTOP_BLENDFACTORALPHA: return "mix(" + a2 + ", " + a1 + ", texture_factor.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM: return a1 + " + " + a2 + " * (1.0 - " + t + ".a)";
    case D3DTOP_BLENDCURRENTALPHA: return "mix(" + a2 + ", " + a1 + ", current.a)";
    // Not offered: DISABLE is handled by the caller, the rest never get this far.
    case D3DTOP_DISABLE:
    case D3DTOP_PREMODULATE:
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
    case D3DTOP_MODULATECOLOR_ADDALPHA:
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
    case D3DTOP_BUMPENVMAP:
    case D3DTOP_BUMPENVMAPLUMINANCE:
    case D3DTOP_DOTPRODUCT3: return a1;
    }
    return a1;
}

std::string fragment_shader(const ShaderKey& key, float pixel_shift)
{
    std::string s = "#version 330 core\n";
    s += kBlock;
    const char* qualifier = key.flat ? "flat in" : "in";
    s += std::string(qualifier) + " vec4 v_diffuse;\n" + qualifier + " vec4 v_specular;\n";
    bool declared[D3D_MAX_TEXTURE_STAGES] = {};
    for (unsigned i = 0; i < key.stage_count; ++i) {
        const ShaderStageKey& st = key.stages[i];
        if (!st.sampled) continue;
        s += "uniform sampler2D texture" + num(i) + ";\n";
        if (st.texcoord != SHADER_NO_TEXCOORD && !declared[st.texcoord]) {
            declared[st.texcoord] = true;
            s += "in vec2 v_texcoord" + num(st.texcoord) + ";\n";
        }
    }
    // How far past the device's pixel centre GL evaluates attributes.
    const bool stepped = pixel_shift != 0.5f;
    const std::string step = std::to_string(0.5f - pixel_shift);
    s += "out vec4 frag_color;\n";
    if (key.quantize != 0) s += quantize_glsl(static_cast<PixelKind>(key.quantize - 1));
    s += "void main() {\n";
    for (unsigned i = 0; i < D3D_MAX_TEXTURE_STAGES; ++i) {
        // Texture coordinates are always interpolated (never flat), so always stepped back.
        if (declared[i] && !stepped) {
            s += "    vec2 uv" + num(i) + " = v_texcoord" + num(i) + ";\n";
        } else if (declared[i]) {
            s += "    vec2 uv" + num(i) + " = v_texcoord" + num(i) + " - (dFdx(v_texcoord" + num(i) + ") + dFdy(v_texcoord" +
                 num(i) + ")) * " + step + ";\n";
        }
    }
    // With a shift below 1/2 (see the vertex shader) GL evaluates attributes that much past the device's
    // pixel centre; step them back along the attribute's slope.
    const std::string back = key.flat || !stepped ? "" : " - (dFdx(X) + dFdy(X)) * " + step;
    auto at_centre = [&back](const std::string& name) {
        std::string out = name;
        std::string correction = back;
        for (std::size_t p; (p = correction.find('X')) != std::string::npos;) correction.replace(p, 1, name);
        return out + correction;
    };
    // The specular colour's alpha is not interpolated: as an argument it reads 1.
    s += "    vec4 diffuse = " + at_centre("v_diffuse") + ";\n";
    s += "    vec4 specular = vec4((" + at_centre("v_specular") + ").rgb, 1.0);\n";
    s += "    vec4 current = diffuse;\n";
    for (unsigned i = 0; i < key.stage_count; ++i) {
        const ShaderStageKey& st = key.stages[i];
        const std::string n = num(i);
        s += "    {\n";
        if (st.sampled) {
            const std::string uv = st.texcoord == SHADER_NO_TEXCOORD ? "vec2(0.0)" : "uv" + num(st.texcoord);
            s += "        vec4 t" + n + " = texture(texture" + n + ", " + uv + ");\n";
        }
        const D3DTEXTUREOP cop = static_cast<D3DTEXTUREOP>(st.color_op);
        const std::string c1 = arg_expr(st.color_arg1, i, st.sampled), c2 = arg_expr(st.color_arg2, i, st.sampled);
        s += "        vec4 c1 = " + c1 + ";\n        vec4 c2 = " + c2 + ";\n";
        s += "        vec3 rgb = clamp(" + op_expr(cop, "c1.rgb", "c2.rgb", i, false) + ", 0.0, 1.0);\n";
        if (st.alpha_op == D3DTOP_DISABLE) {
            s += "        float a = current.a;\n";
        } else {
            const D3DTEXTUREOP aop = static_cast<D3DTEXTUREOP>(st.alpha_op);
            s += "        float a1 = " + arg_expr(st.alpha_arg1, i, st.sampled) + ".a;\n";
            s += "        float a2 = " + arg_expr(st.alpha_arg2, i, st.sampled) + ".a;\n";
            s += "        float a = clamp(" + op_expr(aop, "a1", "a2", i, true) + ", 0.0, 1.0);\n";
        }
        s += "        current = vec4(rgb, a);\n    }\n";
    }
    if (key.specular) s += "    current.rgb = min(current.rgb + specular.rgb, vec3(1.0));\n";
    if (key.alpha_func != 0) {
        // The platform compares the 8-bit alpha with the 8-bit reference.
        s += "    float alpha8 = floor(current.a * 255.0 + 0.5);\n";
        s += "    float ref8 = depth_params.w;\n";
        std::string test;
        switch (static_cast<D3DCMPFUNC>(key.alpha_func)) {
        case D3DCMP_NEVER: test = "false"; break;
        case D3DCMP_LESS: test = "alpha8 < ref8"; break;
        case D3DCMP_EQUAL: test = "alpha8 == ref8"; break;
        case D3DCMP_LESSEQUAL: test = "alpha8 <= ref8"; break;
        case D3DCMP_GREATER: test = "alpha8 > ref8"; break;
        case D3DCMP_NOTEQUAL: test = "alpha8 != ref8"; break;
        case D3DCMP_GREATEREQUAL: test = "alpha8 >= ref8"; break;
        case D3DCMP_ALWAYS: test = "true"; break;
        }
        s += "    if (!(" + test + ")) discard;\n";
    }
    s += key.quantize != 0 ? "    frag_color = quantize(current);\n" : "    frag_color = current;\n";
    if (key.wbuffer) s += "    gl_FragDepth = clamp((1.0 / gl_FragCoord.w) / depth_params.z, 0.0, 1.0);\n";
    s += "}\n";
    return s;
}

}  // namespace

ShaderSource shader_generate(const ShaderKey& key, float pixel_shift)
{
    bool sets_used[D3D_MAX_TEXTURE_STAGES] = {};
    for (unsigned i = 0; i < key.stage_count; ++i) {
        const ShaderStageKey& st = key.stages[i];
        if (st.sampled && st.texcoord != SHADER_NO_TEXCOORD && st.texcoord < D3D_MAX_TEXTURE_STAGES) {
            sets_used[st.texcoord] = true;
        }
    }
    return ShaderSource{vertex_shader(key, sets_used), fragment_shader(key, pixel_shift)};
}
