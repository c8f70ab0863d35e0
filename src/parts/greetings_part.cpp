// The greetings: over the full-screen "kuulat.jpg" a spiral sculpture of 58 copies of the pallo mesh,
// textured with "mirte.jpg" and tinted one colour, tumbles about a slowly wandering axis, while the
// greetings picture scrolls up the right half of the screen.
#include <cmath>

#include "driver/demo_assets.h"
#include "driver/frame_loop.h"
#include "effects/mesh_record.h"
#include "effects/overlay_quads.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "parts/demo_parts.h"
#include "parts/part_steps.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr D3DCOLOR kSculptureColour = 0xFF3399CC;
constexpr int kRings = 19;

// The tumble of one ring: the axis turned by sin(phase) full turns.
Matrix tumble(const Vector3& axis, float phase)
{
    Matrix r;
    matrix_rotation_axis(&r, &axis, std::sin(phase) * PART_PI * 2.0f);
    return r;
}

// The centre copy and 19 rings of three, each ring smaller, further out and lagging in the tumble.
void draw_sculpture(MeshRecord* pallo, const Vector3& axis, float spin_c)
{
    const Matrix centre = tumble(axis, spin_c);
    set_world_matrix(centre);
    draw_mesh(pallo);
    float r = 0.0f;
    for (int i = 1; i <= kRings; ++i) {
        const float s = 1.0f - static_cast<float>(i) * 0.04761905f;
        const Matrix rotation = tumble(axis, spin_c - static_cast<float>(i) * PART_PI * 0.015625f);
        for (int k = 0; k < 3; ++k) {
            const float theta = static_cast<float>(k) * PART_PI * 0.6666667f;
            Matrix scale, move, scaled_moved, world;
            matrix_scaling(&scale, s, s, s);
            matrix_translation(&move, r * std::cos(theta), r * std::sin(theta), 0.0f);
            matrix_multiply(&scaled_moved, &scale, &move);
            matrix_multiply(&world, &scaled_moved, &rotation);
            set_world_matrix(world);
            draw_mesh(pallo);
        }
        r += s * 64.0f;
    }
}

}  // namespace

bool demo_part_8(float dt, float)
{
    static float clock = 0.0f;
    static float spin_a = 0.0f, spin_b = 0.0f, spin_c = 0.0f;

    clock += dt * PART_TICKS_PER_SECOND;
    if (clock > 700.0f) return false;
    part_phase_advance(&spin_a, dt * 0.637246f);
    part_phase_advance(&spin_b, dt * 0.382352f);
    part_phase_advance(&spin_c, dt * 0.724637f);

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
        texture_select(0, "kuulat.jpg");
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        set_blended_overlay();
        set_textured();
        draw_screen_quad(1.0f, 1.0f, 1.0f, 1.0f);
        set_render_state(D3DRENDERSTATE_LIGHTING, 0);
        set_render_state(D3DRENDERSTATE_SPECULARENABLE, 0);

        texture_select(0, "mirte.jpg");
        set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
        set_blend(0, D3DBLEND_ONE, D3DBLEND_ZERO);
        MeshRecord* pallo = &demo_assets().pallo;
        for (D3DLVERTEX& v : pallo->vertices) v.color = kSculptureColour;
        set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
        Matrix projection, view;
        set_projection_matrix(*matrix_perspective(&projection, PART_PI * 0.25f, 0.75f, 0.001f, 10000.0f));
        const Vector3 eye{300.0f, 200.0f, -1200.0f}, at{300.0f, 200.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
        set_view_matrix(*matrix_look_at(&view, &eye, &at, &up));
        const Vector3 axis{std::cos(spin_a), std::sin(spin_c), std::sin(spin_b)};
        draw_sculpture(pallo, axis, spin_c);

        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        draw_greetings(clock, 400.0f);
        end_scene();
    }
    end_frame();
    return true;
}

void draw_greetings(float time, float span)
{
    static float scroll = 1.0f;
    scroll = 1.0f - time / span;
    texture_select(0, "greets.jpg");
    set_render_state(D3DRENDERSTATE_ZENABLE, 0);
    set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    draw_screen_rect(0.5f, scroll, 1.0f, scroll + 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
}
