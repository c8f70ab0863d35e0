// Device states of scene drawing: the defaults every frame starts from, a material's colours,
// textures and transparency, and the reflection pass's additive sphere-map states.
#include <cstring>
#include <string>

#include "render/render_lighting.h"
#include "render/render_state.h"
#include "scene3ds/scene_object.h"
#include "textures/texture_manager.h"

namespace {

D3DCOLORVALUE colour(float r, float g, float b, float a) {
    D3DCOLORVALUE value{};
    value.r = r;
    value.g = g;
    value.b = b;
    value.a = a;
    return value;
}

D3DCOLORVALUE colour(const ColorRgb& rgb, float a) { return colour(rgb.r, rgb.g, rgb.b, a); }

void select_map(DWORD stage, const MaterialMap& map) {
    const std::string name(map.file_name, strnlen(map.file_name, sizeof map.file_name));
    texture_select(stage, name.c_str());
}

Material make_default_material() {
    Material material;
    std::strcpy(material.name, "default");
    material.diffuse = {1.0f, 0.0f, 0.0f};
    material.ambient = {0.2f, 0.2f, 0.2f};
    material.specular = {1.0f, 1.0f, 1.0f};
    material.shininess = 0.5f;
    material.shininess_strength = 1.0f;
    return material;
}

}  // namespace

const Material& scene_default_material() {
    static const Material material = make_default_material();
    return material;
}

void SceneObject::set_default_states() {
    for (DWORD i = 0; i <= 7; ++i) enable_light(i, false);

    D3DLIGHT7 light{};
    light.dltType = D3DLIGHT_POINT;
    light.dcvDiffuse = colour(1.0f, 1.0f, 1.0f, 0.0f);
    light.dcvSpecular = colour(1.0f, 1.0f, 1.0f, 0.0f);
    light.dcvAmbient = colour(1.0f, 1.0f, 1.0f, 0.0f);
    light.dvPosition = Vector3(100.0f, 100.0f, -500.0f);
    light.dvRange = D3DLIGHT_RANGE_MAX;
    light.dvAttenuation0 = 1.0f;
    set_light(0, light);
    enable_light(0, true);

    set_render_state(D3DRENDERSTATE_AMBIENT, 0);
    set_render_state(D3DRENDERSTATE_LIGHTING, TRUE);
    set_render_state(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    set_render_state(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    set_render_state(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
    set_render_state(D3DRENDERSTATE_NORMALIZENORMALS, TRUE);
    set_render_state(D3DRENDERSTATE_CLIPPING, TRUE);

    set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);

    set_stage_state(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    set_stage_state(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    set_stage_state(0, D3DTSS_MIPFILTER, D3DTFP_POINT);

    D3DMATERIAL7 material{};
    material.diffuse = colour(1.0f, 0.0f, 0.0f, 0.5f);
    material.ambient = colour(0.2f, 0.2f, 0.2f, 0.5f);
    material.specular = colour(1.0f, 1.0f, 1.0f, 0.5f);
    material.power = 50.0f;
    set_material(material);
}

void scene_apply_material(const Material& m) {
    const float alpha = 1.0f - m.transparency;
    D3DMATERIAL7 material{};
    material.diffuse = colour(m.diffuse, alpha);
    material.ambient = colour(m.ambient, alpha);
    material.specular = colour(m.specular.r * m.shininess_strength, m.specular.g * m.shininess_strength,
                               m.specular.b * m.shininess_strength, alpha);
    material.power = m.shininess * 100.0f;
    set_material(material);

    set_texture(0, nullptr);
    set_texture(1, nullptr);
    set_render_state(D3DRENDERSTATE_FILLMODE, m.wire != 0 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
    set_render_state(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    set_render_state(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    set_render_state(D3DRENDERSTATE_ALPHATESTENABLE, FALSE);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);

    if (m.has_map(MATERIAL_MAP_OPACITY)) {
        select_map(0, m.opacity_map);
        set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        if (m.has_map(MATERIAL_MAP_TEXTURE)) {
            select_map(1, m.texture_map);
            set_color_stage(1, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT);
            set_alpha_stage(1, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT);
        }
        return;
    }
    if (m.has_map(MATERIAL_MAP_TEXTURE)) {
        select_map(0, m.texture_map);
        set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    }
    if (m.transparency > 0.0f) {
        set_render_state(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
        set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    }
}

void scene_set_reflection_states(const Material& m) {
    select_map(0, m.reflection_map);
    set_blend(TRUE, D3DBLEND_ONE, D3DBLEND_ONE);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 1);
}
