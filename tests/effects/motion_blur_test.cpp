// Motion blur on the software device: the target's size for each viewport, the switches with the depth
// buffer moving along, the composite's opacity, and every state as it was afterwards.
#include "effects/motion_blur.h"

#include "effects/effect_rigs.h"
#include "effects_fixture.h"
#include "math/matrix.h"
#include "render/render.h"

namespace {

class MotionBlurTest : public SoftwareEffectTest {
protected:
    IDirectDrawSurface7* attached_depth(IDirectDrawSurface7* surface) {
        DDSCAPS2 caps{DDSCAPS_ZBUFFER, 0, 0, 0};
        IDirectDrawSurface7* depth = nullptr;
        if (FAILED(surface->GetAttachedSurface(&caps, &depth))) return nullptr;
        depth->Release();
        return depth;
    }
    D3DVIEWPORT7 viewport() {
        D3DVIEWPORT7 v{};
        get_viewport(&v);
        return v;
    }
    MotionBlur blur;
};

TEST_F(MotionBlurTest, TargetSizesFollowTheViewport) {
    const DWORD cases[][4] = {{1024, 768, 512, 512}, {640, 480, 512, 256}, {300, 300, 256, 256}};
    for (const auto& c : cases) {
        make_device(c[0], c[1]);
        ASSERT_EQ(blur.create_target(), S_OK);
        const TextureEntry* entry = texture_find("motionblur");
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ((std::vector<DWORD>{entry->width, entry->height, entry->wanted_bits, entry->wanted_alpha_bits,
                                      entry->extra_desc_flags, entry->extra_caps}),
                  (std::vector<DWORD>{c[2], c[3], 32, 0, 0, DDSCAPS_3DDEVICE})) << c[0] << " x " << c[1];
        blur.release();
        EXPECT_EQ(texture_find("motionblur"), nullptr);
        offscreen.release();
    }
}

TEST_F(MotionBlurTest, BeginAndEndMoveTheDepthBufferAndTheViewport) {
    make_device(640, 480);  // the demo's size: the depth buffer covers the 512 × 256 target
    ASSERT_EQ(blur.create_target(), S_OK);
    IDirectDrawSurface7* texture = texture_get_surface("motionblur");
    ASSERT_NE(texture, nullptr);
    blur.begin();
    EXPECT_EQ(viewport().dwWidth, 512u);
    EXPECT_EQ(viewport().dwHeight, 256u);
    EXPECT_EQ(attached_depth(texture), offscreen.depth_buffer());
    EXPECT_EQ(attached_depth(offscreen.target()), nullptr);
    blur.end(offscreen.target());
    EXPECT_EQ(viewport().dwWidth, 640u);
    EXPECT_EQ(viewport().dwHeight, 480u);
    EXPECT_EQ(attached_depth(offscreen.target()), offscreen.depth_buffer());
}

TEST_F(MotionBlurTest, OpacityZeroKeepsTheScreenAndOneReplacesIt) {
    make_device(640, 480);
    ASSERT_EQ(blur.create_target(), S_OK);
    for (auto [alpha, expected] : {std::pair{0.0f, 0xFFFF0000u}, {1.0f, 0xFF0000FFu}}) {
        begin_scene();
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFF0000, 1.0f, 0);
        blur.begin();
        clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
        blur.end(offscreen.target());
        blur.draw(alpha);
        end_scene();
        RigFrame frame;
        ASSERT_TRUE(rig_read_surface(offscreen.target(), &frame));
        for (int i : {0, 240 * 640 + 320, 640 * 480 - 1}) EXPECT_EQ(frame.argb[static_cast<std::size_t>(i)], expected) << alpha;
    }
}

// Everything the composite touches, and more, read back from the device.
struct DeviceState {
    std::vector<DWORD> render_states, stage_states;
    IDirectDrawSurface7* textures[2] = {};
    Matrix transforms[3];
    bool operator==(const DeviceState&) const = default;
};

DeviceState read_state() {
    DeviceState s;
    for (DWORD state : {7u, 14u, 15u, 19u, 20u, 22u, 23u, 27u, 28u, 29u, 137u, 139u, 143u}) {
        DWORD value = 0xDEAD;
        current_device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(state), &value);
        s.render_states.push_back(value);
    }
    for (DWORD stage = 0; stage < 2; ++stage)
        for (DWORD state = 1; state <= 17; ++state) {
            DWORD value = 0xDEAD;
            current_device->GetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(state), &value);
            s.stage_states.push_back(value);
        }
    for (DWORD stage = 0; stage < 2; ++stage) {
        current_device->GetTexture(stage, &s.textures[stage]);
        if (s.textures[stage] != nullptr) s.textures[stage]->Release();
    }
    for (int t = 0; t < 3; ++t) current_device->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(t + 1), &s.transforms[t]);
    return s;
}

TEST_F(MotionBlurTest, EveryStateIsAsItWasAfterTheComposite) {
    make_device(160, 120);
    ASSERT_EQ(blur.create_target(), S_OK);
    ASSERT_EQ(texture_create_target("other", 32, 32, 32, 8, 0, 0), S_OK);
    set_blend(FALSE, D3DBLEND_ONE, D3DBLEND_ZERO);
    set_render_state(D3DRENDERSTATE_LIGHTING, TRUE);
    set_render_state(D3DRENDERSTATE_SPECULARENABLE, TRUE);
    set_render_state(D3DRENDERSTATE_CULLMODE, 3);
    set_color_stage(0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_stage_state(0, D3DTSS_TEXCOORDINDEX, 1);
    texture_select(0, "other");
    texture_select(1, "other");
    Matrix world, view, projection;
    set_world_matrix(*matrix_translation(&world, 1, 2, 3));
    set_view_matrix(*matrix_rotation_x(&view, 0.5f));
    set_projection_matrix(*matrix_perspective(&projection, 1.0f, 0.75f, 1.0f, 100.0f));
    const DeviceState before = read_state();
    ASSERT_NE(before.textures[0], nullptr);

    begin_scene();
    blur.draw(0.3f);
    end_scene();
    const DeviceState after = read_state();
    EXPECT_EQ(after.render_states, before.render_states);
    EXPECT_EQ(after.stage_states, before.stage_states);
    EXPECT_EQ(after.textures[0], before.textures[0]);
    EXPECT_EQ(after.textures[1], before.textures[1]);
    for (int t = 0; t < 3; ++t) EXPECT_EQ(after.transforms[t], before.transforms[t]) << t;
}

}  // namespace
