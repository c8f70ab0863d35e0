// State blocks: a D3DSBT_ALL block restores every state it captured (render and stage states, bound
// textures, transforms, material, lights and their enables, viewport) after all of them were changed,
// as motion_blur_draw relies on, and keeps its textures alive; recorded blocks hold only what was set
// while recording and leave the device alone meanwhile; pixel and vertex blocks; handles are checked.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/d3d/device_fixture.h"

namespace {

class StateBlocks : public testing::Test {
protected:
    void SetUp() override
    {
        harness_ = std::make_unique<DeviceHarness>(IID_IDirect3DRGBDevice, 16, 16, true);
        ASSERT_TRUE(harness_->ok());
        d_ = harness_->device();
    }
    DWORD rs(D3DRENDERSTATETYPE state) const
    {
        DWORD v = 0xDEADBEEF;
        d_->GetRenderState(state, &v);
        return v;
    }
    DWORD tss(DWORD stage, D3DTEXTURESTAGESTATETYPE state) const
    {
        DWORD v = 0xDEADBEEF;
        d_->GetTextureStageState(stage, state, &v);
        return v;
    }
    std::unique_ptr<DeviceHarness> harness_;
    IDirect3DDevice7* d_ = nullptr;
};

D3DMATRIX filled(float base)
{
    D3DMATRIX m;
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = base + static_cast<float>(i);
    return m;
}

constexpr D3DTRANSFORMSTATETYPE kTransforms[] = {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION};

TEST_F(StateBlocks, ApplyingAnAllBlockRestoresEveryCategory)
{
    ComRef<IDirectDrawSurface7> tex0(harness_->create_texture(1, 1, {0xFFFFFFFF}));
    ComRef<IDirectDrawSurface7> tex1(harness_->create_texture(1, 1, {0xFF000000}));
    ComRef<IDirectDrawSurface7> other(harness_->create_texture(1, 1, {0xFF00FF00}));
    // A state worth restoring in every category: {state, captured value, value meanwhile}.
    const std::tuple<D3DRENDERSTATETYPE, DWORD, DWORD> render_states[] = {
        {D3DRENDERSTATE_ZENABLE, D3DZB_USEW, D3DZB_FALSE}, {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        {D3DRENDERSTATE_AMBIENT, 0x00123456, 0}, {D3DRENDERSTATE_LIGHTING, TRUE, FALSE}};
    const std::tuple<DWORD, D3DTEXTURESTAGESTATETYPE, DWORD, DWORD> stage_states[] = {
        {0, D3DTSS_COLOROP, D3DTOP_SELECTARG2, D3DTOP_MODULATE}, {1, D3DTSS_TEXCOORDINDEX, 0, 1}};
    for (auto [state, captured, meanwhile] : render_states) d_->SetRenderState(state, captured);
    for (auto [stage, state, captured, meanwhile] : stage_states) d_->SetTextureStageState(stage, state, captured);
    d_->SetTexture(0, tex0.get());
    d_->SetTexture(1, tex1.get());
    for (int i = 0; i < 3; ++i) {
        D3DMATRIX m = filled(static_cast<float>(1 + 20 * i));
        d_->SetTransform(kTransforms[i], &m);
    }
    D3DMATERIAL7 material{};
    material.power = 50.0f;
    material.diffuse.r = 0.5f;
    d_->SetMaterial(&material);
    D3DLIGHT7 light{};
    light.dltType = D3DLIGHT_POINT;
    light.dvRange = 64.0f;
    light.dvPosition = Vector3(4, 4, -4);
    d_->SetLight(0, &light);
    d_->LightEnable(0, TRUE);
    D3DVIEWPORT7 vp{1, 2, 8, 9, 0.25f, 0.75f};
    d_->SetViewport(&vp);

    DWORD block = 0;
    ASSERT_EQ(d_->CreateStateBlock(D3DSBT_ALL, &block), D3D_OK);
    ASSERT_NE(block, 0u);

    // Change everything, as motion_blur_draw does and more.
    for (auto [state, captured, meanwhile] : render_states) d_->SetRenderState(state, meanwhile);
    for (auto [stage, state, captured, meanwhile] : stage_states) d_->SetTextureStageState(stage, state, meanwhile);
    d_->SetTexture(0, other.get());
    d_->SetTexture(1, nullptr);
    D3DMATRIX identity;
    matrix_identity(&identity);
    for (D3DTRANSFORMSTATETYPE t : kTransforms) d_->SetTransform(t, &identity);
    D3DMATERIAL7 plain{};
    d_->SetMaterial(&plain);
    D3DLIGHT7 moved = light;
    moved.dvPosition = Vector3(0, 0, 0);
    d_->SetLight(0, &moved);
    d_->LightEnable(0, FALSE);
    D3DVIEWPORT7 full{0, 0, 16, 16, 0.0f, 1.0f};
    d_->SetViewport(&full);

    ASSERT_EQ(d_->ApplyStateBlock(block), D3D_OK);
    ASSERT_EQ(d_->DeleteStateBlock(block), D3D_OK);

    for (auto [state, captured, meanwhile] : render_states) EXPECT_EQ(rs(state), captured) << "render state " << state;
    for (auto [stage, state, captured, meanwhile] : stage_states) EXPECT_EQ(tss(stage, state), captured) << "stage state " << state;
    for (DWORD stage : {0u, 1u}) {
        ComRef<IDirectDrawSurface7> t;
        d_->GetTexture(stage, t.out());
        EXPECT_EQ(t.get(), stage == 0 ? tex0.get() : tex1.get()) << "stage " << stage;
    }
    for (int i = 0; i < 3; ++i) {
        D3DMATRIX m;
        d_->GetTransform(kTransforms[i], &m);
        EXPECT_EQ(m, filled(static_cast<float>(1 + 20 * i))) << "transform " << kTransforms[i];
    }
    D3DMATERIAL7 mat{};
    d_->GetMaterial(&mat);
    EXPECT_EQ(mat.power, 50.0f);
    EXPECT_EQ(mat.diffuse.r, 0.5f);
    D3DLIGHT7 l{};
    d_->GetLight(0, &l);
    EXPECT_EQ(l.dvPosition, Vector3(4, 4, -4));
    BOOL enabled = FALSE;
    d_->GetLightEnable(0, &enabled);
    EXPECT_TRUE(enabled);
    D3DVIEWPORT7 now{};
    d_->GetViewport(&now);
    EXPECT_EQ(now.dwX, 1u);
    EXPECT_EQ(now.dwHeight, 9u);
    EXPECT_EQ(now.dvMaxZ, 0.75f);
}

TEST_F(StateBlocks, TexturesInABlockStayAliveUntilItIsDeleted)
{
    IDirectDrawSurface7* tex = harness_->create_texture(1, 1, {0xFFFFFFFF});
    ASSERT_NE(tex, nullptr);
    d_->SetTexture(0, tex);
    DWORD block = 0;
    ASSERT_EQ(d_->CreateStateBlock(D3DSBT_ALL, &block), D3D_OK);
    d_->SetTexture(0, nullptr);
    EXPECT_EQ(tex->Release(), 1u);  // the block's reference remains
    ASSERT_EQ(d_->ApplyStateBlock(block), D3D_OK);  // binds it again: device and block hold it
    ASSERT_EQ(d_->DeleteStateBlock(block), D3D_OK);
    d_->SetTexture(0, nullptr);  // the last reference goes
}

TEST_F(StateBlocks, RecordedBlockHoldsOnlyWhatWasSetAndLeavesTheDeviceAlone)
{
    ASSERT_EQ(d_->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(d_->BeginStateBlock(), D3DERR_INBEGINSTATEBLOCK);
    d_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    EXPECT_EQ(rs(D3DRENDERSTATE_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));  // not applied while recording
    DWORD block = 0;
    EXPECT_EQ(d_->CreateStateBlock(D3DSBT_ALL, &block), D3DERR_INBEGINSTATEBLOCK);
    EXPECT_EQ(d_->EndStateBlock(nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(d_->EndStateBlock(&block), D3D_OK);
    EXPECT_EQ(d_->EndStateBlock(&block), D3DERR_NOTINBEGINSTATEBLOCK);

    d_->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_ALWAYS);
    ASSERT_EQ(d_->ApplyStateBlock(block), D3D_OK);
    EXPECT_EQ(rs(D3DRENDERSTATE_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
    EXPECT_EQ(tss(0, D3DTSS_ADDRESSU), static_cast<DWORD>(D3DTADDRESS_CLAMP));
    EXPECT_EQ(rs(D3DRENDERSTATE_ZFUNC), static_cast<DWORD>(D3DCMP_ALWAYS));  // not in the block: untouched

    // Capturing refreshes the covered values only.
    d_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    ASSERT_EQ(d_->CaptureStateBlock(block), D3D_OK);
    d_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    d_->ApplyStateBlock(block);
    EXPECT_EQ(rs(D3DRENDERSTATE_CULLMODE), static_cast<DWORD>(D3DCULL_CW));
}

TEST_F(StateBlocks, PixelAndVertexBlocksCoverTheirOwnStates)
{
    DWORD pixel = 0, vertex = 0;
    ASSERT_EQ(d_->CreateStateBlock(D3DSBT_PIXELSTATE, &pixel), D3D_OK);
    ASSERT_EQ(d_->CreateStateBlock(D3DSBT_VERTEXSTATE, &vertex), D3D_OK);
    d_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ZERO);  // pixel state
    d_->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);         // vertex state
    d_->ApplyStateBlock(pixel);
    EXPECT_EQ(rs(D3DRENDERSTATE_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(rs(D3DRENDERSTATE_LIGHTING), static_cast<DWORD>(FALSE));
    d_->ApplyStateBlock(vertex);
    EXPECT_EQ(rs(D3DRENDERSTATE_LIGHTING), static_cast<DWORD>(TRUE));
}

TEST_F(StateBlocks, HandlesAreChecked)
{
    EXPECT_EQ(d_->ApplyStateBlock(0), D3DERR_INVALIDSTATEBLOCK);
    EXPECT_EQ(d_->ApplyStateBlock(12345), D3DERR_INVALIDSTATEBLOCK);
    EXPECT_EQ(d_->CaptureStateBlock(7), D3DERR_INVALIDSTATEBLOCK);
    EXPECT_EQ(d_->DeleteStateBlock(7), D3DERR_INVALIDSTATEBLOCK);
    DWORD block = 0;
    EXPECT_EQ(d_->CreateStateBlock(static_cast<D3DSTATEBLOCKTYPE>(9), &block), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d_->CreateStateBlock(D3DSBT_ALL, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(d_->CreateStateBlock(D3DSBT_PIXELSTATE, &block), D3D_OK);
    ASSERT_EQ(d_->DeleteStateBlock(block), D3D_OK);
    EXPECT_EQ(d_->DeleteStateBlock(block), D3DERR_INVALIDSTATEBLOCK);
}

}  // namespace
