// The canyon and the water: part 5 flies through the kanjoni scene in two camera takes with the
// cylinder tunnel over it; parts 6 and 9 show the altaat scene with the rippling water grid,
// sphere-mapped with a picture ("allas.jpg", then "vireline.jpg"). Parts 6 and 9 share the scene and
// the grid but each has its own ripple angle.
#include "driver/demo_assets.h"
#include "driver/frame_loop.h"
#include "effects/cylinder_tunnel.h"
#include "effects/overlay_quads.h"
#include "effects/sphere_map.h"
#include "effects/water_grid.h"
#include "math/matrix.h"
#include "parts/demo_parts.h"
#include "parts/part_steps.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr DWORD kClearBoth = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;

// The grid turned a quarter turn about x, scaled by (0.2, 1, 0.3) and moved to (0, −0.2, 1).
void place_water()
{
    Matrix turn, scale, world;
    matrix_multiply(&world, matrix_rotation_x(&turn, PART_PI * 0.5f), matrix_scaling(&scale, 0.2f, 1.0f, 0.3f));
    world.m[3][0] = 0.0f;
    world.m[3][1] = -0.2f;
    world.m[3][2] = 1.0f;
    set_world_matrix(world);
}

// One radian per second, kept in [0, 2π); then the grid's wave.
void ripple_step(float* ripple, float dt)
{
    *ripple += dt;
    if (*ripple > PART_TWO_PI) *ripple -= PART_TWO_PI;
    if (*ripple < 0.0f) *ripple += PART_TWO_PI;
    water_grid_wave(&demo_assets().water, *ripple, 0.1f);
}

// The water, sphere-mapped with the picture, drawn opaque over the scene.
void draw_water(const char* picture)
{
    texture_select(0, picture);
    set_blend(0, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    set_textured();
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
    place_water();
    apply_sphere_map(&demo_assets().water);
    water_grid_draw(&demo_assets().water);
}

}  // namespace

bool demo_part_5(float dt, float)
{
    static float clock = 0.0f;
    static int camera = 0;
    static bool first_take = true;

    clock += dt * PART_TICKS_PER_SECOND;
    if (first_take) {
        if (clock > 400.0f) {
            camera = 1;
            clock = 10.0f;
            first_take = false;
        }
    } else if (clock > 200.0f) {
        return false;
    }
    SceneObject& kanjoni = demo_assets().kanjoni;
    part_scene_step(kanjoni, dt * PART_TICKS_PER_SECOND, part_scene_end(kanjoni));

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        part_scene_draw(kanjoni, camera, true, viewport_aspect());
        if (first_take && clock < 100.0f) {
            set_render_state(D3DRENDERSTATE_ZENABLE, 0);
            set_blended_overlay();
            set_diffuse_only();
            fade_from_colour(clock, 100.0f, 1.0f, 1.0f, 1.0f);
        }
        Matrix identity, projection;
        matrix_identity(&identity);
        set_view_matrix(identity);
        set_world_matrix(identity);
        set_projection_matrix(
            *matrix_perspective(&projection, PART_PI * 0.33333334f, viewport_aspect(), 0.0001f, 100.0f));
        set_render_state(D3DRENDERSTATE_ZENABLE, 1);
        cylinder_tunnel_draw(dt * 0.1f);
        end_scene();
    }
    end_frame();
    return true;
}

bool demo_part_6(float dt, float)
{
    static float clock = 0.0f;
    static float ripple = 0.0f;

    SceneObject& altaat = demo_assets().altaat;
    if (clock == 0.0f) altaat.time = 100.0f;
    const float step = dt * PART_TICKS_PER_SECOND;
    clock += step;
    if (clock > 450.0f) return false;
    part_scene_step(altaat, step, part_scene_end(altaat) - 100.0f);
    ripple_step(&ripple, dt);

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        part_scene_draw(altaat, 1, true, viewport_aspect());
        draw_water("allas.jpg");
        end_scene();
    }
    end_frame();
    return true;
}

bool demo_part_9(float dt, float)
{
    static float clock = 0.0f;
    static int camera = 0;
    static float ripple = 0.0f;

    SceneObject& altaat = demo_assets().altaat;
    if (clock == 0.0f) altaat.time = 0.0f;
    const float step = dt * PART_TICKS_PER_SECOND;
    clock += step;
    if (clock > 400.0f) camera = 1;
    if (clock > 800.0f) return false;
    part_scene_step(altaat, step, part_scene_end(altaat));
    ripple_step(&ripple, dt);

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        part_scene_draw(altaat, camera, true, viewport_aspect());
        draw_water("vireline.jpg");
        if (clock > 700.0f) {
            set_render_state(D3DRENDERSTATE_ZENABLE, 0);
            set_blended_overlay();
            set_diffuse_only();
            fade_to_colour(clock - 700.0f, 100.0f, 1.0f, 1.0f, 1.0f);
        }
        end_scene();
    }
    end_frame();
    return true;
}
