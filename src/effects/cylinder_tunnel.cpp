#include "effects/cylinder_tunnel.h"

#include <cmath>

#include "math/matrix.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = kPi * 2.0f;

void advance(float* angle, float step) {
    *angle += step;
    if (*angle > kTwoPi) *angle = 0.0f;
}

}  // namespace

CylinderTunnel& cylinder_tunnel() {
    static CylinderTunnel instance;
    return instance;
}

void cylinder_tunnel_create(const char* texture_name, const char* scene_file) {
    cylinder_tunnel_create(&cylinder_tunnel(), texture_name, scene_file);
}
void cylinder_tunnel_draw(float s) { cylinder_tunnel_draw(&cylinder_tunnel(), s); }
void cylinder_tunnel_release() { cylinder_tunnel_release(&cylinder_tunnel()); }

void cylinder_tunnel_create(CylinderTunnel* tunnel, const char* texture_name, const char* scene_file) {
    // Three separate loads; when the first finds nothing (one report is enough) the others stay empty.
    for (MeshRecord& mesh : tunnel->meshes) {
        mesh = &mesh == &tunnel->meshes[0] || !tunnel->meshes[0].empty() ? load_mesh_keyframed(scene_file, 0) : MeshRecord{};
    }
    tunnel->phases[0] = kPi;
    tunnel->phases[1] = kPi * 1.5f;
    tunnel->phases[2] = kPi;
    tunnel->anchors[0] = Vector3{20.0f, -10.0f, 20.0f};
    tunnel->anchors[1] = Vector3{0.0f, 40.0f, 40.0f};
    tunnel->anchors[2] = Vector3{0.0f, -8.0f, 40.0f};
    for (D3DCOLOR& colour : tunnel->colours) colour = CYLINDER_TUNNEL_COLOUR;
    tunnel->texture_name = texture_name != nullptr ? texture_name : "";
    tunnel->swing = 0.0f;
    texture_load(tunnel->texture_name.c_str(), 32, 8);
}

void cylinder_tunnel_draw(CylinderTunnel* tunnel, float s) {
    const float h = s * 0.5f;
    advance(&tunnel->swing, h);
    const float swing = std::sin(tunnel->swing);
    tunnel->eyes[0] = Vector3{0.0f, 0.0f, -30.0f - 20.0f * swing};
    tunnel->eyes[1] = Vector3{0.0f, 0.0f, -48.0f};
    tunnel->eyes[2] = Vector3{0.0f, 0.0f, 10.0f - 30.0f * swing};

    set_texture(0, texture_get_surface(tunnel->texture_name.c_str()));
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    Matrix world;
    set_world_matrix(*matrix_identity(&world));

    const Vector3 up{0.0f, 1.0f, 0.0f};
    for (int k = 0; k < 3; ++k) {
        advance(&tunnel->phases[k], s);
        Matrix turn, view;
        Vector3 at = tunnel->anchors[k];
        vector3_transform_point(&at, matrix_rotation_z(&turn, tunnel->phases[k]));
        set_view_matrix(*matrix_look_at(&view, &tunnel->eyes[k], &at, &up));
        scroll_mesh(&tunnel->meshes[k], 1.5f * s, 0.5f * s, tunnel->colours[k]);
        draw_mesh(&tunnel->meshes[k]);
    }
}

void cylinder_tunnel_release(CylinderTunnel* tunnel) { texture_delete(tunnel->texture_name.c_str()); }
