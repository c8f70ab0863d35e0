// The closing parts: part 10 spins the box, deformed every frame by the vertex repulsor, in front of
// the taustaa scene, the whole frame drawn through motion blur; part 12, the last, renders the canyon
// into the 256 × 256 texture "blur" every frame and wraps that live picture, unlit, around the planet.
#include "driver/app_access.h"
#include "driver/demo_application.h"
#include "driver/demo_assets.h"
#include "driver/frame_loop.h"
#include "effects/mesh_record.h"
#include "effects/vertex_repulsor.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "parts/demo_parts.h"
#include "parts/part_steps.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {
constexpr DWORD kClearBoth = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
}  // namespace

bool demo_part_10(float dt, float)
{
    static float clock = 0.0f;

    const float step = dt * PART_TICKS_PER_SECOND;
    clock += step;
    if (clock > 600.0f) return false;
    SceneObject& taustaa = demo_assets().taustaa;
    part_scene_step(taustaa, step, part_scene_end(taustaa));
    const float angle = clock * 0.008333334f * PART_PI * 2.0f;

    if (SUCCEEDED(begin_scene())) {
        motion_blur_begin();
        clear(0, nullptr, kClearBoth, 0xFF000000, 1.0f, 0);
        part_scene_draw(taustaa, 0, true, viewport_aspect());
        const Vector3 diagonal{1.0f, 1.0f, 1.0f};
        Matrix world, projection, view;
        set_world_matrix(*matrix_rotation_axis(&world, &diagonal, angle));
        texture_select(0, "vireline.jpg");
        set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
        set_blend(0, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_textured();
        VertexRepulsor& repulsor = demo_assets().repulsor;
        vertex_repulsor_advance(&repulsor, dt);
        repel_vertices(&repulsor);
        set_projection_matrix(*matrix_perspective(&projection, PART_PI * 0.25f, 0.75f, 0.001f, 10000.0f));
        const Vector3 eye{100.0f, 200.0f, -200.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
        set_view_matrix(*matrix_look_at(&view, &eye, &at, &up));
        draw_mesh(&repulsor.deformed);
        motion_blur_end();
        motion_blur_draw(0.3f);
        end_scene();
    }
    end_frame();
    return true;
}

bool demo_part_12(float dt, float)
{
    static float clock = 0.0f;
    static int camera = 0;

    SceneObject& kanjoni = demo_assets().kanjoni;
    SceneObject& planet = demo_assets().planet;
    if (clock == 0.0f) {
        kanjoni.time = 0.0f;
        camera = 0;
        set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
        for (int i = 0; i < 2; ++i) {
            clear(0, nullptr, kClearBoth, 0xFF000000, 1.0f, 0);
            end_frame();
        }
    }
    const float step = dt * PART_TICKS_PER_SECOND;
    clock += step;
    if (clock > 400.0f) {
        camera = 1;
        kanjoni.time = 20.0f;
    }
    if (clock > 300.0f) {
        planet.time += step;
        if (planet.time > part_scene_end(planet)) planet.time = 0.0f;
    }
    planet.animate();
    kanjoni.time += step;
    kanjoni.animate();

    if (SUCCEEDED(begin_scene())) {
        set_render_target(texture_get_surface("blur"));
        clear(0, nullptr, kClearBoth, 0xFF000000, 1.0f, 0);
        part_scene_draw(kanjoni, camera, true, viewport_aspect());
        set_render_target(app_back_buffer());
        planet.set_default_states();
        clear(0, nullptr, kClearBoth, 0xFF000000, 1.0f, 0);
        set_render_state(D3DRENDERSTATE_LIGHTING, 0);
        set_render_state(D3DRENDERSTATE_SPECULARENABLE, 0);
        set_render_state(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        set_render_state(D3DRENDERSTATE_ZENABLE, D3DZB_USEW);
        texture_select(0, "blur");
        set_blend(0, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        planet.draw(0, false, viewport_aspect());
        end_scene();
    }
    end_frame();
    return true;
}
