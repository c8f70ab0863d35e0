#include "effects/effect_rigs.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>

#include "effects/cylinder_tunnel.h"
#include "effects/echo_shells.h"
#include "effects/mesh_record.h"
#include "effects/motion_blur.h"
#include "effects/overlay_quads.h"
#include "effects/shard_ring.h"
#include "effects/soft_blob.h"
#include "effects/sphere_map.h"
#include "effects/vertex_repulsor.h"
#include "effects/water_grid.h"
#include "math/matrix.h"
#include "math/random.h"
#include "platform/debug_output.h"
#include "render/render.h"
#include "scene3ds_writer/write_3ds.h"
#include "textures/texture_manager.h"

namespace {

constexpr float kPi = 3.1415927f;

using Pixel = std::uint32_t;  // 0xAARRGGBB
using Picture = std::vector<Pixel>;

bool write_tga(const std::string& path, int width, int height, const Picture& pixels) {
    std::ofstream out(path, std::ios::binary);
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
                                      static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8),
                                      32, 0x28};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (Pixel p : pixels) {
        const unsigned char bgra[4] = {static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 8),
                                       static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 24)};
        out.write(reinterpret_cast<const char*>(bgra), 4);
    }
    return static_cast<bool>(out);
}

bool write_jpeg(const std::string& path, int width, int height, const Picture& pixels) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            const Pixel p = pixels[static_cast<std::size_t>(cinfo.next_scanline) * width + x];
            row[static_cast<std::size_t>(x) * 3] = static_cast<JSAMPLE>(p >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(p >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(p);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

template <typename Colour>
Picture picture(int size, Colour colour) {
    Picture p(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p[static_cast<std::size_t>(y) * size + x] = colour(x, y);
    return p;
}

Pixel rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<Pixel>(r) << 16 | static_cast<Pixel>(g) << 8 | static_cast<Pixel>(b);
}

File3dsMesh sphere_mesh(float radius, int slices, int rings) {
    File3dsMesh mesh;
    mesh.name = "Ball";
    for (int r = 0; r <= rings; ++r) {
        const float phi = kPi * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s <= slices; ++s) {
            const float theta = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(slices);
            mesh.vertices.push_back({radius * std::sin(phi) * std::cos(theta), radius * std::sin(phi) * std::sin(theta),
                                     radius * std::cos(phi)});
            mesh.texture_coords.push_back({static_cast<float>(s) / static_cast<float>(slices),
                                           static_cast<float>(r) / static_cast<float>(rings)});
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < slices; ++s) {
            const auto a = static_cast<std::uint16_t>(r * (slices + 1) + s);
            const auto b = static_cast<std::uint16_t>(a + slices + 1);
            mesh.faces.push_back({a, b, static_cast<std::uint16_t>(a + 1), 7});
            mesh.faces.push_back({static_cast<std::uint16_t>(a + 1), b, static_cast<std::uint16_t>(b + 1), 7});
        }
    return mesh;
}

// Along the file's y axis, which the reader turns into the scene's z axis.
File3dsMesh tube_mesh(float radius, float from, float to, int around, int along) {
    File3dsMesh mesh;
    mesh.name = "Tube";
    for (int l = 0; l <= along; ++l) {
        const float y = from + (to - from) * static_cast<float>(l) / static_cast<float>(along);
        for (int a = 0; a <= around; ++a) {
            const float angle = 2.0f * kPi * static_cast<float>(a) / static_cast<float>(around);
            mesh.vertices.push_back({radius * std::cos(angle), y, radius * std::sin(angle)});
            mesh.texture_coords.push_back({2.0f * static_cast<float>(a) / static_cast<float>(around),
                                           4.0f * static_cast<float>(l) / static_cast<float>(along)});
        }
    }
    for (int l = 0; l < along; ++l)
        for (int a = 0; a < around; ++a) {
            const auto v = static_cast<std::uint16_t>(l * (around + 1) + a);
            const auto up = static_cast<std::uint16_t>(v + around + 1);
            mesh.faces.push_back({v, static_cast<std::uint16_t>(v + 1), up, 7});
            mesh.faces.push_back({static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(up + 1), up, 7});
        }
    return mesh;
}

// Six faces of n × n quads each, side `size`, centred on the origin.
File3dsMesh box_mesh(float size, int n) {
    File3dsMesh mesh;
    mesh.name = "Box";
    const float h = size / 2.0f;
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {-1.0f, 1.0f}) {
            const auto first = static_cast<std::uint16_t>(mesh.vertices.size());
            for (int j = 0; j <= n; ++j)
                for (int i = 0; i <= n; ++i) {
                    const float a = -h + size * static_cast<float>(i) / static_cast<float>(n);
                    const float b = -h + size * static_cast<float>(j) / static_cast<float>(n);
                    float p[3];
                    p[axis] = side * h;
                    p[(axis + 1) % 3] = a;
                    p[(axis + 2) % 3] = b;
                    mesh.vertices.push_back({p[0], p[1], p[2]});
                    mesh.texture_coords.push_back({static_cast<float>(i) / static_cast<float>(n),
                                                   static_cast<float>(j) / static_cast<float>(n)});
                }
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const auto v = static_cast<std::uint16_t>(first + j * (n + 1) + i);
                    const auto up = static_cast<std::uint16_t>(v + n + 1);
                    if (side > 0) {
                        mesh.faces.push_back({v, static_cast<std::uint16_t>(v + 1), up, 7});
                        mesh.faces.push_back({static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(up + 1), up, 7});
                    } else {
                        mesh.faces.push_back({v, up, static_cast<std::uint16_t>(v + 1), 7});
                        mesh.faces.push_back({static_cast<std::uint16_t>(v + 1), up, static_cast<std::uint16_t>(up + 1), 7});
                    }
                }
        }
    }
    return mesh;
}

// A scene of one mesh with a keyframer node holding one position key.
File3dsScene one_mesh_scene(File3dsMesh mesh, File3dsPoint position) {
    File3dsScene scene;
    File3dsNode node;
    node.chunk = File3dsNodeChunk::Object;
    node.node_id = 0;
    node.name = mesh.name;
    node.position = File3dsTrack<File3dsPoint>{0, {File3dsKey<File3dsPoint>{0, position, {}}}};
    scene.objects.push_back(std::move(mesh));
    scene.frame_segment = std::array<std::uint32_t, 2>{0, 100};
    scene.nodes.push_back(node);
    return scene;
}

void set_camera(Vector3 eye, Vector3 at, float fov) {
    Matrix view, projection, world;
    const Vector3 up{0.0f, 1.0f, 0.0f};
    set_view_matrix(*matrix_look_at(&view, &eye, &at, &up));
    set_projection_matrix(*matrix_perspective(&projection, fov, viewport_aspect(), 0.5f, 1000.0f));
    set_world_matrix(*matrix_identity(&world));
}

bool fail(std::string* reason, const char* what) {
    if (reason != nullptr) *reason = what;
    return false;
}

void plain_states() {
    set_render_state(D3DRENDERSTATE_LIGHTING, FALSE);
    set_render_state(D3DRENDERSTATE_ZENABLE, 0);
    set_render_state(D3DRENDERSTATE_CULLMODE, 1);
    set_render_state(D3DRENDERSTATE_SPECULARENABLE, FALSE);
}

}  // namespace

const std::vector<RigEffectInfo>& rig_effects() {
    static const std::vector<RigEffectInfo> effects = {
        {RigEffect::Overlays, "overlays", 20},     {RigEffect::SoftBlob, "soft_blob", 45},
        {RigEffect::EchoShells, "echo_shells", 30}, {RigEffect::ShardRing, "shard_ring", 25},
        {RigEffect::Tunnel, "cylinder_tunnel", 30}, {RigEffect::Water, "water_grid", 20},
        {RigEffect::Repulsor, "repulsor", 30},      {RigEffect::MotionBlur, "motion_blur", 12},
    };
    return effects;
}

bool rig_write_content(const std::string& folder, std::string* reason) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto path = [&](const char* name) { return folder + "/" + name; };
    const Picture checker = picture(32, [](int x, int y) {
        return ((x / 8 + y / 8) % 2 == 0) ? rgb(230, 200, 60) : rgb(40, 90, 200);
    });
    const Picture stripes = picture(32, [](int x, int y) { return rgb(8 * x, 255 - 8 * y, (x + y) % 16 < 8 ? 200 : 40); });
    // Soft stars: a few round blobs, so that sampling differences between devices stay small.
    const Picture stars = picture(32, [](int x, int y) {
        const int centres[5][2] = {{5, 6}, {20, 4}, {13, 17}, {27, 22}, {7, 27}};
        float glow = 0.0f;
        for (const auto& c : centres) {
            const float dx = static_cast<float>(x - c[0]), dy = static_cast<float>(y - c[1]);
            glow += std::exp(-(dx * dx + dy * dy) / 6.0f);
        }
        const int level = static_cast<int>(std::fmin(glow, 1.0f) * 215.0f);
        return rgb(20 + level, 20 + level, 60 + level * 3 / 4);
    });
    const Picture smooth = picture(32, [](int x, int y) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        return rgb(static_cast<int>(128 + 100 * std::sin(fx / 5.0f)), static_cast<int>(128 + 100 * std::cos(fy / 4.0f)),
                   static_cast<int>(128 + 80 * std::sin((fx + fy) / 6.0f)));
    });
    const Picture metal = picture(32, [](int x, int y) { return rgb(10 + 2 * x, 20 + y, 40 + (x ^ y)); });
    bool ok = write_tga(path("checker.tga"), 32, 32, checker) && write_tga(path("stripes.tga"), 32, 32, stripes) &&
              write_tga(path("stars.tga"), 32, 32, stars) &&
              write_tga(path("smooth.tga"), 32, 32, smooth) && write_jpeg(path("metal.jpg"), 32, 32, metal);
    ok = ok && write_3ds_file(path("ball.3ds").c_str(), one_mesh_scene(sphere_mesh(1.0f, 16, 10), {0, 0, 0}));
    ok = ok && write_3ds_file(path("tube.3ds").c_str(), one_mesh_scene(tube_mesh(10.0f, -60.0f, 100.0f, 16, 10), {0, 0, 0}));
    ok = ok && write_3ds_file(path("box.3ds").c_str(), one_mesh_scene(box_mesh(80.0f, 4), {0, 0, 0}));
    if (!ok && reason != nullptr) *reason = "cannot write the rig content into " + folder;
    return ok;
}

bool rig_read_surface(IDirectDrawSurface7* surface, RigFrame* frame) {
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return false;
    const bool wide = locked.ddpfPixelFormat.dwRGBBitCount == 32;
    frame->width = static_cast<int>(locked.dwWidth);
    frame->height = static_cast<int>(locked.dwHeight);
    frame->argb.assign(static_cast<std::size_t>(frame->width) * frame->height, 0);
    for (int y = 0; wide && y < frame->height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(locked.lpSurface) +
                                                                 static_cast<std::ptrdiff_t>(y) * locked.lPitch);
        for (int x = 0; x < frame->width; ++x) frame->argb[static_cast<std::size_t>(y) * frame->width + x] = row[x] | 0xFF000000u;
    }
    surface->Unlock(nullptr);
    return wide;
}

struct EffectRig::State {
    int frame = 0;
    SpriteQuad sprite{};
    SoftBlob blob;
    MeshRecord ball;
    EchoShells shells;
    std::unique_ptr<ShardRing> ring;
    CylinderTunnel tunnel;
    WaterGrid grid;
    VertexRepulsor repulsor;
    MotionBlur blur;
    IDirectDrawSurface7* back_buffer = nullptr;
};

EffectRig::EffectRig(RigEffect effect, std::string content_folder)
    : effect_(effect), folder_(std::move(content_folder)), state_(std::make_unique<State>()) {}

EffectRig::~EffectRig() {
    water_grid_release(&state_->grid);
    if (effect_ == RigEffect::MotionBlur) state_->blur.release();
    if (state_->back_buffer != nullptr) state_->back_buffer->Release();
    texture_delete_all();
}

bool EffectRig::build(std::string* reason) {
    random_reset();
    texture_set_directory((folder_ + "/").c_str());
    const std::string ball = folder_ + "/ball.3ds", tube = folder_ + "/tube.3ds", box = folder_ + "/box.3ds";
    State& s = *state_;
    DebugOutputCapture quiet;  // the loaders' "joo" lines
    switch (effect_) {
    case RigEffect::Overlays:
        texture_load("smooth.tga", 32, 8);
        texture_load("checker.tga", 32, 8);
        texture_load("stars.tga", 32, 8);
        break;
    case RigEffect::SoftBlob:
        soft_blob_create(&s.blob, "checker.tga", "stripes.tga");
        break;
    case RigEffect::EchoShells:
        texture_load(ECHO_SHELLS_TEXTURE, 32, 8);
        s.ball = load_mesh_positioned(ball.c_str(), 0);
        s.shells.mesh = &s.ball;
        if (s.ball.empty()) return fail(reason, "ball.3ds did not load");
        break;
    case RigEffect::ShardRing:
        s.ring = shard_ring_create(64);
        break;
    case RigEffect::Tunnel:
        cylinder_tunnel_create(&s.tunnel, "stars.tga", tube.c_str());
        if (s.tunnel.meshes[0].empty()) return fail(reason, "tube.3ds did not load");
        break;
    case RigEffect::Water:
        texture_load("smooth.tga", 32, 8);
        water_grid_build(&s.grid);
        if (!water_grid_usable(s.grid)) return fail(reason, "the water grid was not built");
        break;
    case RigEffect::Repulsor:
        texture_load("checker.tga", 32, 8);
        vertex_repulsor_create(&s.repulsor, load_mesh_white(box.c_str(), 0), load_mesh_white(box.c_str(), 0));
        if (s.repulsor.rest.empty()) return fail(reason, "box.3ds did not load");
        break;
    case RigEffect::MotionBlur:
        texture_load("checker.tga", 32, 8);
        if (current_device == nullptr || FAILED(current_device->GetRenderTarget(&s.back_buffer)) ||
            FAILED(s.blur.create_target())) {
            return fail(reason, "the motion-blur target was not made");
        }
        break;
    }
    return true;
}

void EffectRig::update() {
    State& s = *state_;
    ++s.frame;
    switch (effect_) {
    case RigEffect::Overlays: {
        Matrix turn, place, m;
        matrix_rotation_z(&turn, 0.05f * static_cast<float>(s.frame));
        matrix_translation(&place, 4.0f, 2.0f, 0.0f);
        build_sprite_quad(&s.sprite, 5.0f, 5.0f, matrix_multiply(&m, &turn, &place), 0xFFFFFFFF);
        set_sprite_colour(&s.sprite, 0.75f, 1.0f, 1.0f, 1.0f);
        break;
    }
    case RigEffect::SoftBlob: soft_blob_update(&s.blob, 1.0f); break;
    case RigEffect::EchoShells: echo_shells_advance(&s.shells, RIG_STEP_SECONDS * 8.0f); break;
    case RigEffect::ShardRing: shard_ring_update(s.ring.get(), RIG_STEP_SECONDS); break;
    case RigEffect::Tunnel: break;  // the tunnel advances as it draws
    case RigEffect::Water: water_grid_wave(&s.grid, 0.05f * static_cast<float>(s.frame), 0.1f); break;
    case RigEffect::Repulsor:
        vertex_repulsor_advance(&s.repulsor, RIG_STEP_SECONDS * 4.0f);
        repel_vertices(&s.repulsor);
        break;
    case RigEffect::MotionBlur: {
        Matrix m;
        const float x = -12.0f + 1.5f * static_cast<float>(s.frame);
        build_sprite_quad(&s.sprite, 3.0f, 3.0f, matrix_translation(&m, x, 0.0f, 0.0f), 0xFFFFFFFF);
        break;
    }
    }
}

void EffectRig::draw() {
    State& s = *state_;
    begin_scene();
    plain_states();
    switch (effect_) {
    case RigEffect::Overlays:
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0);
        set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        texture_select(0, "smooth.tga");
        draw_screen_quad(1.0f, 1.0f, 1.0f, 1.0f);
        texture_select(0, "stars.tga");
        draw_screen_rect(0.0f, 0.8f, 0.3f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        set_camera({0, 0, -30}, {0, 0, 0}, kPi / 3.0f);
        texture_select(0, "checker.tga");
        draw_sprite_quad(&s.sprite);
        set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_texture(0, nullptr);
        fade_to_colour(static_cast<float>(s.frame), 40.0f, 0.9f, 0.3f, 0.1f);  // alpha frame / 40
        break;
    case RigEffect::SoftBlob:
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF101830, 1.0f, 0);
        set_camera({0, 0.5f, -3.2f}, {0, 0, 0}, kPi / 3.0f);
        soft_blob_render(&s.blob, 0.0f, 0.0f, 0.0f);
        set_stage_state(0, D3DTSS_TEXCOORDINDEX, 0);
        break;
    case RigEffect::EchoShells:
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        set_camera({0, 0, -4.5f}, {0, 0, 0}, kPi / 3.0f);
        draw_echo_shells(&s.shells);
        break;
    case RigEffect::ShardRing: {
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000010, 1.0f, 0);
        set_camera({0, 0, -22}, {0, 0, 0}, kPi / 3.0f);
        set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
        set_color_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        shard_ring_draw(s.ring.get());
        break;
    }
    case RigEffect::Tunnel: {
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        Matrix projection;
        set_projection_matrix(*matrix_perspective(&projection, kPi / 2.5f, viewport_aspect(), 1.0f, 1000.0f));
        cylinder_tunnel_draw(&s.tunnel, RIG_STEP_SECONDS * 0.1f * 20.0f);
        break;
    }
    case RigEffect::Water: {
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        set_camera({0, -11, -9}, {0, 0, 0}, kPi / 3.0f);
        set_blend(FALSE, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        texture_select(0, "smooth.tga");
        apply_sphere_map(&s.grid);
        water_grid_draw(&s.grid);
        break;
    }
    case RigEffect::Repulsor:
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        set_camera({120, 160, -380}, {0, 0, 0}, kPi / 3.0f);
        set_render_state(D3DRENDERSTATE_ZENABLE, 1);
        set_blend(FALSE, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        texture_select(0, "checker.tga");
        draw_mesh(&s.repulsor.deformed);
        break;
    case RigEffect::MotionBlur:
        if (s.frame == 1) clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        s.blur.begin();
        // At this size the depth buffer is smaller than the 256 × 256 target and stays behind.
        clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        set_camera({0, 0, -20}, {0, 0, 0}, kPi / 3.0f);
        set_blend(FALSE, D3DBLEND_ONE, D3DBLEND_ZERO);
        set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        texture_select(0, "checker.tga");
        draw_sprite_quad(&s.sprite);
        s.blur.end(s.back_buffer);
        s.blur.draw(0.3f);
        break;
    }
    end_scene();
}

bool EffectRig::run(int frames, std::string* reason) {
    if (!build(reason)) return false;
    for (int i = 0; i < frames; ++i) {
        update();
        draw();
    }
    return true;
}
