// The opening: part 1 fades the outous scene in from black with the soft-body blob floating in it and
// the credits fading in one by one in the lower-left corner, then fades to black as the makers' logo
// comes up; part 2 shows the echo shells over a half-transparent backdrop with the logo spinning in
// front of the camera, and ends in white exactly when the demo time reaches 1200.
#include <cmath>

#include "driver/demo_assets.h"
#include "driver/frame_loop.h"
#include "effects/echo_shells.h"
#include "effects/overlay_quads.h"
#include "effects/soft_blob.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "parts/demo_parts.h"
#include "parts/part_steps.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {
constexpr const char* kLogoTexture = "kestra2.jpg";
constexpr DWORD kClearBoth = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
}  // namespace

bool demo_part_1(float dt, float)
{
    static float clock = 0.0f;
    static int camera = 1;
    static bool intro = true;

    const float step = dt * PART_TICKS_PER_SECOND;
    clock += step;
    if (clock > 650.0f) {
        clock = 0.0f;
        return false;
    }
    SceneObject& outous = demo_assets().outous;
    outous.time += step;
    if (intro && outous.time > 150.0f) {
        outous.time = 0.0f;
        camera = 0;
        intro = false;
    }
    if (outous.time > part_scene_end(outous)) outous.time = 0.0f;
    outous.animate();
    soft_blob_update(step);

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        part_scene_draw(outous, camera, true, viewport_aspect());
        soft_blob_render(0.0f, 3.2f, 0.0f);
        set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        set_blended_overlay();
        set_diffuse_only();
        if (clock < 550.0f) {
            fade_from_colour(clock, 550.0f, 0.0f, 0.0f, 0.0f);
            draw_credits_overlay(dt, 550.0f);
        } else {
            fade_to_colour(clock - 550.0f, 100.0f, 0.0f, 0.0f, 0.0f);
            Matrix world, view;
            set_world_matrix(*matrix_translation(&world, 0.0f, 0.0f, 10.0f));
            set_view_matrix(*matrix_identity(&view));
            draw_logo((clock - 550.0f) * 0.01f);
        }
        end_scene();
    }
    end_frame();
    return true;
}

void draw_credits_overlay(float dt, float span)
{
    static float credits_clock = 0.0f;
    static int credits_index = 0;
    static float credits_alpha = 0.0f;

    credits_clock += dt * PART_TICKS_PER_SECOND;
    const float slot = span * 0.14285715f;
    if (credits_clock > slot) {
        credits_clock = 0.0f;
        credits_index = (credits_index + 1) % DEMO_CREDITS_COUNT;
    }
    credits_alpha = credits_clock / slot;
    texture_select(0, DEMO_CREDITS[credits_index]);
    set_render_state(D3DRENDERSTATE_ZENABLE, 0);
    set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
    draw_screen_rect(0.0f, 0.8f, 0.3f, 1.0f, credits_alpha, 1.0f, 1.0f, 1.0f);
}

void draw_logo(float alpha)
{
    texture_select(0, kLogoTexture);
    set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SpriteQuad& logo = demo_assets().logo;
    set_sprite_colour(&logo, alpha, 1.0f, 1.0f, 1.0f);
    draw_sprite_quad(&logo);
}

bool demo_part_2(float dt, float demo_time)
{
    static float clock = 0.0f;
    static bool first_call = true;

    if (first_call) {
        first_call = false;
        for (int i = 0; i < 2; ++i) {
            clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
            end_frame();
        }
    }
    clock += dt * PART_TICKS_PER_SECOND;
    if (demo_time > 1200.0f) return false;
    const float angle = clock * 0.008333334f * PART_PI * 2.0f;

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        set_blended_overlay();
        set_textured();
        texture_select(0, "tovel.jpg");
        draw_screen_quad(0.5f, 1.0f, 1.0f, 1.0f);

        set_stage_state(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        set_stage_state(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        set_stage_state(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        set_stage_state(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        set_stage_state(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        set_render_state(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
        set_render_state(D3DRENDERSTATE_LIGHTING, 0);
        set_render_state(D3DRENDERSTATE_SPECULARENABLE, 0);
        set_render_state(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
        set_render_state(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
        set_render_state(D3DRENDERSTATE_NORMALIZENORMALS, 1);

        Matrix world, projection, view;
        set_world_matrix(*matrix_identity(&world));
        set_projection_matrix(*matrix_perspective(&projection, PART_PI * 0.25f, 0.75f, 0.001f, 10000.0f));
        const Vector3 eye{0.0f, 0.0f, -200.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
        set_view_matrix(*matrix_look_at(&view, &eye, &at, &up));

        echo_shells_advance(&echo_shells(), dt);
        draw_echo_shells();

        if (clock < 200.0f) {
            set_render_state(D3DRENDERSTATE_ZENABLE, 0);
            set_blended_overlay();
            set_diffuse_only();
            fade_from_colour(clock, 200.0f, 0.0f, 0.0f, 0.0f);
        }
        matrix_rotation_z(&world, angle);
        world.m[3][2] = std::sin(angle) * 5.0f + 10.0f;
        set_world_matrix(world);
        set_view_matrix(*matrix_identity(&view));
        draw_logo(1.0f);

        if (demo_time > 1100.0f) {
            set_render_state(D3DRENDERSTATE_ZENABLE, 0);
            set_blended_overlay();
            set_diffuse_only();
            fade_to_colour(demo_time - 1100.0f, 100.0f, 1.0f, 1.0f, 1.0f);
        }
        end_scene();
    }
    end_frame();
    return true;
}
