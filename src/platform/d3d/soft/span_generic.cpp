// The generic pixel loop: every stage operation and argument, both filters and all addressing modes,
// every compare and blend factor, alpha test, specular add, flat or Gouraud colours, z or w depth,
// and any target format.
#include "platform/d3d/soft/pixel_ops.h"
#include "platform/d3d/soft/span_kernels.h"

namespace soft {

void span_generic(const DrawConstants& k, const SetupTriangle& t, int y, int x0, int x1)
{
    const float dy = static_cast<float>(y) - t.oy;
    const float q_row = t.q.c + t.q.b * dy;
    const float z_row = t.depth.c + t.depth.b * dy;
    float attr_row[kAttributes];
    for (unsigned i = 0; i < kAttributes; ++i) attr_row[i] = t.attr[i].c + t.attr[i].b * dy;
    BYTE* crow = k.color + static_cast<std::ptrdiff_t>(y) * k.color_pitch;
    float* drow = k.depth != nullptr ? k.depth + static_cast<std::ptrdiff_t>(y) * k.depth_pitch : nullptr;
    const DWORD bpp = pixel_kind_bytes(k.color_kind);
    StageInputs in;
    in.factor = unpack(k.texture_factor);
    in.texture = Rgba{0, 0, 0, 0};

    for (int x = x0; x < x1; ++x) {
        const float dx = static_cast<float>(x) - t.ox;
        const float q = q_row + t.q.a * dx;
        const float w = 1.0f / q;
        float depth = 0.0f;
        if (k.depth_mode != DepthMode::Off) {
            const float z = z_row + t.depth.a * dx;
            if (k.reject_outside_depth_range && (z < 0.0f || z > 1.0f)) continue;
            depth = clamp01(k.depth_mode == DepthMode::Z ? z : w * k.inv_w_far);
            if (!compare(k.depth_func, depth, drow[x])) continue;
        }
        float attr[kAttributes];
        for (unsigned i = 0; i < kAttributes; ++i) attr[i] = (attr_row[i] + t.attr[i].a * dx) * w;
        in.diffuse = Rgba{to8(attr[kAttrDiffuse]), to8(attr[kAttrDiffuse + 1]), to8(attr[kAttrDiffuse + 2]),
                          to8(attr[kAttrDiffuse + 3])};
        in.specular = Rgba{to8(attr[kAttrSpecular]), to8(attr[kAttrSpecular + 1]), to8(attr[kAttrSpecular + 2]), 255};
        Rgba current = in.diffuse;
        for (unsigned s = 0; s < k.stage_count; ++s) {
            const StageProgram& stage = k.stages[s];
            if (stage.reads_texture) {
                in.texture = unpack(sample(stage.texture, attr[kAttrTex + 2 * s], attr[kAttrTex + 2 * s + 1]));
            }
            current = run_stage(stage, in, current);
        }
        if (k.specular_add) {
            current.r = sat8(current.r + in.specular.r);
            current.g = sat8(current.g + in.specular.g);
            current.b = sat8(current.b + in.specular.b);
        }
        if (k.alpha_test && !compare_alpha(k.alpha_func, current.a, k.alpha_ref)) continue;
        BYTE* p = crow + static_cast<std::ptrdiff_t>(x) * bpp;
        if (k.blend) current = blend(k, current, unpack(load_target(k.color_kind, p)));
        store_target(k.color_kind, p, pack(current));
        if (k.depth_write && k.depth_mode != DepthMode::Off) drow[x] = depth;
    }
}

}  // namespace soft
