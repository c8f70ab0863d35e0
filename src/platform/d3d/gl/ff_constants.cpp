#include "platform/d3d/gl/ff_constants.h"

#include <cmath>
#include <cstring>

#include "platform/d3d/core/device.h"
#include "platform/d3d/core/state_reading.h"

namespace {

void put_matrix(float out[16], const D3DMATRIX& m)
{
    std::memcpy(out, m.m, sizeof(float) * 16);
}

void put4(float out[4], float x, float y, float z, float w)
{
    out[0] = x;
    out[1] = y;
    out[2] = z;
    out[3] = w;
}

void put_color(float out[4], const D3DCOLORVALUE& c)
{
    put4(out, c.r, c.g, c.b, c.a);
}

// p·M for a point (w = 1) or a direction (w = 0).
void transform(const D3DMATRIX& m, const D3DVECTOR& v, float w, float out[3])
{
    for (int c = 0; c < 3; ++c) out[c] = v.x * m.m[0][c] + v.y * m.m[1][c] + v.z * m.m[2][c] + w * m.m[3][c];
}

void normalize3(float v[3])
{
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

}  // namespace

void ff_color_unpack(D3DCOLOR color, float out[4])
{
    put4(out, static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
         static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>(color >> 24) / 255.0f);
}

void ff_constants_compute(const DeviceState& state, float pixel_shift, FfConstants* out)
{
    std::memset(out, 0, sizeof *out);
    D3DMATRIX wv, wvp, normal;
    matrix_multiply(&wv, &state.world(), &state.view());
    matrix_multiply(&wvp, &wv, &state.projection());
    put_matrix(out->world, state.world());
    put_matrix(out->world_view, wv);
    put_matrix(out->world_view_proj, wvp);
    // Normals move with the inverse transpose of world·view (its upper 3×3 is what the shader reads).
    D3DMATRIX inverse;
    if (matrix_inverse(&inverse, nullptr, &wv) != nullptr) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) normal.m[r][c] = inverse.m[c][r];
        }
    } else {
        normal = wv;
    }
    put_matrix(out->normal_matrix, normal);

    const D3DVIEWPORT7& vp = state.viewport;
    const float width = vp.dwWidth > 0 ? static_cast<float>(vp.dwWidth) : 1.0f;
    const float height = vp.dwHeight > 0 ? static_cast<float>(vp.dwHeight) : 1.0f;
    put4(out->viewport, static_cast<float>(vp.dwX), static_cast<float>(vp.dwY), width, height);
    put4(out->depth_params, vp.dvMinZ, vp.dvMaxZ, projection_w_far(state.projection()),
         static_cast<float>(state.render[D3DRENDERSTATE_ALPHAREF] & 0xFF));
    put4(out->pixel_offset, 2.0f * pixel_shift / width, 2.0f * pixel_shift / height, pixel_shift, 0.0f);
    ff_color_unpack(state.render[D3DRENDERSTATE_AMBIENT], out->ambient);
    ff_color_unpack(state.render[D3DRENDERSTATE_TEXTUREFACTOR], out->texture_factor);

    const D3DMATERIAL7& m = state.material;
    put_color(out->material_diffuse, m.diffuse);
    put_color(out->material_ambient, m.ambient);
    put_color(out->material_specular, m.specular);
    put_color(out->material_emissive, m.emissive);
    put4(out->material_power, m.power, 0.0f, 0.0f, 0.0f);

    const D3DMATRIX& view = state.view();
    const LightSlot* active[D3D_MAX_ACTIVE_LIGHTS];
    const unsigned count = state_active_lights(state, active);
    for (unsigned n = 0; n < count; ++n) {
        const D3DLIGHT7& l = active[n]->light;
        put_color(out->light_diffuse[n], l.dcvDiffuse);
        put_color(out->light_specular[n], l.dcvSpecular);
        put_color(out->light_ambient[n], l.dcvAmbient);
        float position[3], direction[3];
        transform(view, l.dvPosition, 1.0f, position);
        transform(view, l.dvDirection, 0.0f, direction);
        normalize3(direction);
        if (l.dltType == D3DLIGHT_DIRECTIONAL) {
            for (float& d : direction) d = -d;  // toward the light
        }
        put4(out->light_position[n], position[0], position[1], position[2], 1.0f);
        put4(out->light_direction[n], direction[0], direction[1], direction[2], 0.0f);
        put4(out->light_attenuation[n], l.dvAttenuation0, l.dvAttenuation1, l.dvAttenuation2, l.dvRange);
        put4(out->light_spot[n], std::cos(l.dvTheta * 0.5f), std::cos(l.dvPhi * 0.5f), l.dvFalloff, 0.0f);
    }
    for (DWORD i = 0; i < D3D_MAX_CLIP_PLANES; ++i) {
        put4(out->clip_plane[i], state.clip_planes[i][0], state.clip_planes[i][1], state.clip_planes[i][2],
             state.clip_planes[i][3]);
    }
}
