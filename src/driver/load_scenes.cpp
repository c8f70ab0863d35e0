// The first loading step: the scenes in their fixed order, then the effect objects (the soft-body blob
// and the shard ring draw from the program-wide generator as they are made, so their order fixes every
// random choice of the run), the transforms the first frames start from, one clear, and last the
// repulsor's three phases.
#include <utility>

#include "driver/demo_assets.h"
#include "effects/cylinder_tunnel.h"
#include "effects/echo_shells.h"
#include "effects/soft_blob.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {
constexpr float kPi = 3.1415927f;
constexpr const char* kPallo = "scenes/pallo.3ds";
constexpr const char* kBoxi = "scenes/boxi.3ds";
}  // namespace

void load_scenes()
{
    DemoAssets& a = demo_assets();
    texture_set_directory("maps/");
    a.outous.load("scenes/outous.3ds");
    a.kanjoni.load("scenes/kanjoni.3ds");
    a.altaat.load("scenes/altaat.3ds");
    a.taustaa.load("scenes/taustaa.3ds");
    a.planet.load("scenes/planet.3ds");
    texture_set_directory("maps/");

    soft_blob_create("tasma1.jpg", "tasma2.jpg");
    Matrix identity;
    matrix_identity(&identity);
    build_sprite_quad(&a.logo, 5.0f, 5.0f, &identity, 0xFFFFFFFF);
    a.echo_mesh = load_mesh_positioned(kPallo, 0);
    echo_shells().mesh = &a.echo_mesh;
    a.shard_ring = shard_ring_create(64);
    cylinder_tunnel_create("tahteet.jpg");
    a.pallo = load_mesh_positioned(kPallo, 0);

    a.water = WaterGrid{};
    a.water.width = 16.0f;
    a.water.depth = 16.0f;
    a.water.points_per_row = 32;
    a.water.rows = 32;
    water_grid_build(&a.water);

    MeshRecord deformed = load_mesh_white(kBoxi, 0);
    MeshRecord rest = load_mesh_white(kBoxi, 0);

    set_world_matrix(identity);
    Matrix projection;
    matrix_perspective(&projection, kPi / 4.0f, 0.75f, 0.001f, 10000.0f);
    set_projection_matrix(projection);
    const Vector3 eye{100.0f, 200.0f, -200.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
    Matrix view;
    matrix_look_at(&view, &eye, &at, &up);
    set_view_matrix(view);
    clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);

    // Draws the phases a, b, c from the generator, after everything else that draws.
    vertex_repulsor_create(&a.repulsor, std::move(deformed), std::move(rest));
}

void release_scenes()
{
    DemoAssets& a = demo_assets();
    a.outous.release();
    a.kanjoni.release();
    a.altaat.release();
    a.taustaa.release();
    a.planet.release();
    a.echo_mesh = MeshRecord{};
    echo_shells().mesh = nullptr;
    a.pallo = MeshRecord{};
    cylinder_tunnel_release();
}
