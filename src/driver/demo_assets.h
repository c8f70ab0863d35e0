// Everything the demo shows, made once before the first frame and looked up by the demo parts: the
// five animated scenes, the effect objects built from scenes and pictures, and the names of the
// pictures. Each object is one program-wide instance. load_scenes and load_textures fill them in the
// program's fixed order (the directory switches of the texture manager are part of that order, since
// every picture name is looked up under the current directory); release_scenes and release_textures
// give back what the program frees at shutdown, and the rest lives until the process ends. Nothing
// here reports a failure: a file that cannot be read leaves its object empty or its texture missing,
// and the parts draw what exists.
#pragma once

#include <memory>

#include "effects/mesh_record.h"
#include "effects/overlay_quads.h"
#include "effects/shard_ring.h"
#include "effects/vertex_repulsor.h"
#include "effects/water_grid.h"
#include "scene3ds/scene_object.h"

struct DemoAssets {
    SceneObject outous;   // part 1
    SceneObject kanjoni;  // parts 5 and 12
    SceneObject altaat;   // parts 6 and 9
    SceneObject taustaa;  // part 10
    SceneObject planet;   // part 12
    SpriteQuad logo;      // parts 1 and 2
    MeshRecord echo_mesh;  // the echo shells' ball (part 2)
    std::unique_ptr<ShardRing> shard_ring;  // part 4
    MeshRecord pallo;      // the greetings sculpture's mesh (part 8)
    WaterGrid water;       // parts 6 and 9
    VertexRepulsor repulsor;  // part 10
};

DemoAssets& demo_assets();

// The credits pictures in the order part 1 shows them, under "maps/creds/".
constexpr int DEMO_CREDITS_COUNT = 7;
extern const char* const DEMO_CREDITS[DEMO_CREDITS_COUNT];

// The five scenes, the effect objects and the first transforms; needs the device.
void load_scenes();
// The "blur" render target and every picture.
void load_textures();
// The five scenes, the two mesh records and the tunnel (with its texture).
void release_scenes();
// The credits pictures and "metal.jpg".
void release_textures();
