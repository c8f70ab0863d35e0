// The picture parts: parts 3, 7 and 11 show one full-screen picture out of a white veil that clears
// over the first 100 ticks; part 4 shows the title picture with the shard ring circling over it in
// additive light, drawn with the view and projection that part 2 left, and fades to white.
#include <cmath>

#include "driver/demo_assets.h"
#include "driver/frame_loop.h"
#include "effects/overlay_quads.h"
#include "effects/shard_ring.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "parts/demo_parts.h"
#include "parts/part_steps.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr DWORD kClearBoth = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;

// The picture over the whole viewport, under a white veil for its first 100 ticks.
bool picture_part(float* clock, float dt, const char* picture, float length)
{
    *clock += dt * PART_TICKS_PER_SECOND;
    if (*clock > length) return false;
    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        texture_select(0, picture);
        set_blend(0, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_textured();
        draw_screen_quad(1.0f, 1.0f, 1.0f, 1.0f);
        if (*clock < 100.0f) {
            set_blended_overlay();
            set_diffuse_only();
            fade_from_colour(*clock, 100.0f, 1.0f, 1.0f, 1.0f);
        }
        end_scene();
    }
    end_frame();
    return true;
}

}  // namespace

bool demo_part_3(float dt, float)
{
    static float clock = 0.0f;
    return picture_part(&clock, dt, "vireline.jpg", 100.0f);
}

bool demo_part_7(float dt, float)
{
    static float clock = 0.0f;
    return picture_part(&clock, dt, "kald.jpg", 200.0f);
}

bool demo_part_11(float dt, float)
{
    static float clock = 0.0f;
    return picture_part(&clock, dt, "orv.jpg", 200.0f);
}

bool demo_part_4(float dt, float)
{
    static float clock = 0.0f;

    clock += dt * PART_TICKS_PER_SECOND;
    if (clock > 200.0f) return false;
    const float angle = clock * 0.0025f * PART_PI * 2.0f;
    ShardRing* ring = demo_assets().shard_ring.get();
    if (ring != nullptr) shard_ring_update(ring, dt);

    if (SUCCEEDED(begin_scene())) {
        clear(0, nullptr, kClearBoth, 0x00000000, 1.0f, 0);
        set_render_state(D3DRENDERSTATE_ZENABLE, 0);
        set_blended_overlay();
        set_textured();
        set_render_state(D3DRENDERSTATE_LIGHTING, 0);
        set_render_state(D3DRENDERSTATE_SPECULARENABLE, 0);
        texture_select(0, "vireline.jpg");
        draw_screen_quad(1.0f, 1.0f, 1.0f, 1.0f);

        set_blend(1, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        set_diffuse_only();
        Vector3 p{10.0f, 0.0f, 20.0f};
        Matrix rotation, world;
        vector3_transform_point(&p, matrix_rotation_z(&rotation, angle));
        set_world_matrix(*matrix_translation(&world, p.x + 10.0f, p.y, p.z));
        if (ring != nullptr) shard_ring_draw(ring);

        if (clock > 100.0f) {
            set_render_state(D3DRENDERSTATE_ZENABLE, 0);
            set_blended_overlay();
            set_diffuse_only();
            fade_to_colour(clock - 100.0f, 100.0f, 1.0f, 1.0f, 1.0f);
        }
        end_scene();
    }
    end_frame();
    return true;
}
