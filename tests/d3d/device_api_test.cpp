// The device's interface as the program uses it, on every device: creation defaults, the description
// fields the program tests, the enumerations, argument checking with the platform's codes, scenes,
// viewports, draws refused for bad input, vertex buffers and ComputeSphereVisibility.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "d3d/device_fixture.h"

namespace {

class DeviceApi : public testing::TestWithParam<ConformanceDevice> {
protected:
    void SetUp() override
    {
        if (!device_available(*GetParam().guid)) GTEST_SKIP() << GetParam().name << " is not in this build";
    }
    const GUID& guid() const { return *GetParam().guid; }
};

struct StateDefault {
    DWORD state;
    DWORD value;
};

TEST_P(DeviceApi, RenderStateDefaults)
{
    const StateDefault defaults[] = {
        {D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE}, {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID},
        {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD}, {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
        {D3DRENDERSTATE_ALPHATESTENABLE, FALSE}, {D3DRENDERSTATE_LASTPIXEL, TRUE},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE}, {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO},
        {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW}, {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRENDERSTATE_ALPHAREF, 0}, {D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS},
        {D3DRENDERSTATE_DITHERENABLE, FALSE}, {D3DRENDERSTATE_ALPHABLENDENABLE, FALSE},
        {D3DRENDERSTATE_FOGENABLE, FALSE}, {D3DRENDERSTATE_SPECULARENABLE, FALSE},
        {D3DRENDERSTATE_COLORKEYENABLE, FALSE}, {D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFFFFFF},
        {D3DRENDERSTATE_CLIPPING, TRUE}, {D3DRENDERSTATE_LIGHTING, TRUE}, {D3DRENDERSTATE_AMBIENT, 0},
        {D3DRENDERSTATE_FOGVERTEXMODE, D3DFOG_NONE}, {D3DRENDERSTATE_COLORVERTEX, TRUE},
        {D3DRENDERSTATE_LOCALVIEWER, TRUE}, {D3DRENDERSTATE_NORMALIZENORMALS, FALSE},
        {D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRENDERSTATE_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRENDERSTATE_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL}, {D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRENDERSTATE_VERTEXBLEND, 0}, {D3DRENDERSTATE_CLIPPLANEENABLE, 0},
    };
    for (bool zbuffer : {false, true}) {
        DeviceHarness h(guid(), 8, 8, zbuffer);
        ASSERT_TRUE(h.ok());
        for (const StateDefault& s : defaults) {
            DWORD v = 0xDEADBEEF;
            ASSERT_EQ(h.device()->GetRenderState(static_cast<D3DRENDERSTATETYPE>(s.state), &v), D3D_OK);
            EXPECT_EQ(v, s.value) << "render state " << s.state;
        }
        DWORD zenable = 99;
        h.device()->GetRenderState(D3DRENDERSTATE_ZENABLE, &zenable);
        EXPECT_EQ(zenable, zbuffer ? static_cast<DWORD>(D3DZB_TRUE) : static_cast<DWORD>(D3DZB_FALSE));
    }
}

TEST_P(DeviceApi, StageStateTransformAndViewportDefaults)
{
    DeviceHarness h(guid(), 40, 30, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    for (DWORD stage = 0; stage < 8; ++stage) {
        const StateDefault defaults[] = {
            {D3DTSS_COLOROP, stage == 0 ? static_cast<DWORD>(D3DTOP_MODULATE) : static_cast<DWORD>(D3DTOP_DISABLE)},
            {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
            {D3DTSS_ALPHAOP, stage == 0 ? static_cast<DWORD>(D3DTOP_SELECTARG1) : static_cast<DWORD>(D3DTOP_DISABLE)},
            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT}, {D3DTSS_TEXCOORDINDEX, stage},
            {D3DTSS_ADDRESS, D3DTADDRESS_WRAP}, {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP}, {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
            {D3DTSS_BORDERCOLOR, 0}, {D3DTSS_MAGFILTER, D3DTFG_POINT}, {D3DTSS_MINFILTER, D3DTFN_POINT},
            {D3DTSS_MIPFILTER, D3DTFP_NONE}, {D3DTSS_TEXTURETRANSFORMFLAGS, 0},
        };
        for (const StateDefault& s : defaults) {
            DWORD v = 0xDEADBEEF;
            ASSERT_EQ(d->GetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(s.state), &v), D3D_OK);
            EXPECT_EQ(v, s.value) << "stage " << stage << " state " << s.state;
        }
        IDirectDrawSurface7* t = reinterpret_cast<IDirectDrawSurface7*>(1);
        ASSERT_EQ(d->GetTexture(stage, &t), D3D_OK);
        EXPECT_EQ(t, nullptr);
    }
    D3DMATRIX identity;
    matrix_identity(&identity);
    for (DWORD t : {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION, D3DTRANSFORMSTATE_TEXTURE0}) {
        D3DMATRIX m{};
        ASSERT_EQ(d->GetTransform(static_cast<D3DTRANSFORMSTATETYPE>(t), &m), D3D_OK);
        EXPECT_EQ(m, identity) << "transform " << t;
    }
    D3DMATERIAL7 material;
    std::memset(&material, 0x55, sizeof(material));
    ASSERT_EQ(d->GetMaterial(&material), D3D_OK);
    EXPECT_EQ(material.power, 0.0f);
    EXPECT_EQ(material.diffuse.r, 0.0f);
    D3DLIGHT7 light;
    EXPECT_EQ(d->GetLight(0, &light), DDERR_INVALIDPARAMS);  // none defined
}

TEST_P(DeviceApi, DescriptionHasEveryFieldTheProgramTests)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    D3DDEVICEDESC7 desc{};
    ASSERT_EQ(h.device()->GetCaps(&desc), D3D_OK);
    EXPECT_EQ(desc.deviceGUID, guid());
    EXPECT_TRUE(desc.dwDeviceRenderBitDepth & DDBD_16);
    EXPECT_TRUE(desc.dwDeviceRenderBitDepth & DDBD_32);
    EXPECT_FALSE(desc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR);
    EXPECT_TRUE(desc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_WBUFFER);
    EXPECT_FALSE(desc.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_SQUAREONLY);
    EXPECT_GE(desc.dwMaxTextureWidth, 512u);
    EXPECT_GE(desc.dwMaxTextureHeight, 512u);
    EXPECT_GE(desc.wMaxTextureBlendStages, 2);
    EXPECT_GE(desc.dwMaxActiveLights, 8u);
    const bool hardware = (desc.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
    const bool tnl = (desc.dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    if (guid() == IID_IDirect3DRGBDevice) {
        EXPECT_FALSE(hardware);
        EXPECT_FALSE(tnl);
    }
    if (guid() == IID_IDirect3DTnLHalDevice) {
        EXPECT_TRUE(hardware);
        EXPECT_TRUE(tnl);
    }
    EXPECT_EQ(h.device()->GetCaps(nullptr), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, TextureAndDepthFormatsInTheirFixedOrder)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    std::vector<DDPIXELFORMAT> formats;
    auto collect = [](DDPIXELFORMAT* f, void* context) -> HRESULT {
        static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*f);
        return D3DENUMRET_OK;
    };
    ASSERT_EQ(h.device()->EnumTextureFormats(collect, &formats), D3D_OK);
    ASSERT_GE(formats.size(), 4u);
    // The texture manager's searches: 32 bits with 8 alpha bits, 32 without, 16 with 4 alpha bits.
    auto find = [&](DWORD bits, DWORD alpha_mask) {
        for (std::size_t i = 0; i < formats.size(); ++i) {
            if (formats[i].dwRGBBitCount == bits && formats[i].dwRGBAlphaBitMask == alpha_mask) return static_cast<int>(i);
        }
        return -1;
    };
    EXPECT_EQ(find(32, 0xFF000000), 0);
    EXPECT_EQ(find(32, 0), 1);
    EXPECT_GE(find(16, 0xF000), 2);
    std::vector<DDPIXELFORMAT> first_only;
    auto stop = [](DDPIXELFORMAT* f, void* context) -> HRESULT {
        static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*f);
        return D3DENUMRET_CANCEL;
    };
    h.device()->EnumTextureFormats(stop, &first_only);
    EXPECT_EQ(first_only.size(), 1u);

    std::vector<DDPIXELFORMAT> depth;
    ASSERT_EQ(h.d3d()->EnumZBufferFormats(guid(), collect, &depth), D3D_OK);
    bool has16 = false, has32 = false;
    for (const DDPIXELFORMAT& f : depth) {
        EXPECT_TRUE(f.dwFlags & DDPF_ZBUFFER);
        has16 |= f.dwZBufferBitDepth == 16;
        has32 |= f.dwZBufferBitDepth == 32;
    }
    EXPECT_TRUE(has16 && has32);
    const GUID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(h.d3d()->EnumZBufferFormats(unknown, collect, &depth), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, BadArgumentsGetThePlatformCodes)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    DWORD v;
    EXPECT_EQ(d->SetRenderState(static_cast<D3DRENDERSTATETYPE>(3), 1), DDERR_INVALIDPARAMS);  // not a D3D7 state
    EXPECT_EQ(d->SetRenderState(static_cast<D3DRENDERSTATETYPE>(100000), 1), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetRenderState(D3DRENDERSTATE_ZENABLE, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_MODULATE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(25), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTextureStageState(0, D3DTSS_COLOROP, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTexture(8, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTexture(0, nullptr), DDERR_INVALIDPARAMS);
    D3DMATRIX m{};
    EXPECT_EQ(d->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(7), &m), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetTransform(D3DTRANSFORMSTATE_WORLD, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetTransform(D3DTRANSFORMSTATE_VIEW, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetMaterial(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetLight(0, nullptr), DDERR_INVALIDPARAMS);
    D3DLIGHT7 light{};
    light.dltType = static_cast<D3DLIGHTTYPE>(9);
    EXPECT_EQ(d->SetLight(0, &light), DDERR_INVALIDPARAMS);
    light.dltType = D3DLIGHT_POINT;
    light.dvRange = -1.0f;
    EXPECT_EQ(d->SetLight(0, &light), DDERR_INVALIDPARAMS);
    light.dvRange = 10.0f;
    EXPECT_EQ(d->SetLight(0xFFFFFFFF, &light), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->SetLight(3, &light), D3D_OK);
    EXPECT_EQ(d->LightEnable(0xFFFFFFFF, TRUE), DDERR_INVALIDPARAMS);
    // Enabling a light never set gives it a default light; more than the active limit fails.
    for (DWORD i = 0; i < 8; ++i) EXPECT_EQ(d->LightEnable(i, TRUE), D3D_OK) << i;
    EXPECT_EQ(d->LightEnable(8, TRUE), D3DERR_LIGHT_SET_FAILED);
    BOOL enabled = FALSE;
    EXPECT_EQ(d->GetLightEnable(5, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(d->GetLight(5, &light), D3D_OK);
    EXPECT_EQ(light.dltType, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(d->SetViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->ValidateDevice(&v), D3D_OK);
    EXPECT_EQ(d->SetRenderTarget(nullptr, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetRenderTarget(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->GetDirect3D(nullptr), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, ViewportMustLieInsideTheTarget)
{
    DeviceHarness h(guid(), 16, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DVIEWPORT7 ok{4, 2, 12, 6, 0.0f, 1.0f};
    EXPECT_EQ(d->SetViewport(&ok), D3D_OK);
    const D3DVIEWPORT7 bad[] = {{0, 0, 17, 8, 0, 1}, {8, 0, 9, 8, 0, 1}, {0, 0, 0, 8, 0, 1}, {0xFFFFFFF0, 0, 32, 8, 0, 1}};
    for (D3DVIEWPORT7 vp : bad) {
        EXPECT_EQ(d->SetViewport(&vp), DDERR_INVALIDPARAMS) << vp.dwX << "," << vp.dwWidth;
        D3DVIEWPORT7 now{};
        d->GetViewport(&now);
        EXPECT_EQ(now.dwX, 4u);  // unchanged
        EXPECT_EQ(now.dwWidth, 12u);
    }
}

TEST_P(DeviceApi, ScenesAndDraws)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DTLVERTEX quad[4];
    screen_quad(quad, 0, 0, 8, 8, 0.5f, 0xFFFFFFFF);
    EXPECT_EQ(d->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(draw_tl(d, D3DPT_TRIANGLESTRIP, quad, 4), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    EXPECT_EQ(d->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(d->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(9), D3DFVF_TLVERTEX, quad, 4, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0x1001, quad, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, quad, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, nullptr, 3, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 0, 0), D3D_OK);
    WORD indices[6] = {0, 1, 2, 2, 1, 4};  // 4 is out of range for four vertices
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0), DDERR_INVALIDPARAMS);
    indices[5] = 3;
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, nullptr, 6, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0), D3D_OK);
    EXPECT_EQ(d->EndScene(), D3D_OK);
}

TEST_P(DeviceApi, VertexBuffers)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DVERTEXBUFFERDESC desc{sizeof(D3DVERTEXBUFFERDESC), D3DVBCAPS_SYSTEMMEMORY, D3DFVF_TLVERTEX, 4};
    ComRef<IDirect3DVertexBuffer7> vb;
    ASSERT_EQ(h.d3d()->CreateVertexBuffer(&desc, vb.out(), 0), D3D_OK);
    D3DVERTEXBUFFERDESC bad = desc;
    bad.dwSize = 12;
    IDirect3DVertexBuffer7* none = nullptr;
    EXPECT_EQ(h.d3d()->CreateVertexBuffer(&bad, &none, 0), DDERR_INVALIDPARAMS);
    bad = desc;
    bad.dwFVF = 0x1001;
    EXPECT_EQ(h.d3d()->CreateVertexBuffer(&bad, &none, 0), D3DERR_INVALIDVERTEXFORMAT);
    D3DVERTEXBUFFERDESC got{};
    got.dwSize = sizeof(got);
    ASSERT_EQ(vb->GetVertexBufferDesc(&got), D3D_OK);
    EXPECT_EQ(got.dwFVF, D3DFVF_TLVERTEX);
    EXPECT_EQ(got.dwNumVertices, 4u);
    EXPECT_EQ(got.dwCaps & D3DVBCAPS_SYSTEMMEMORY, D3DVBCAPS_SYSTEMMEMORY);

    void* data = nullptr;
    DWORD size = 0;
    ASSERT_EQ(vb->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY, &data, &size), D3D_OK);
    EXPECT_EQ(size, 4u * sizeof(D3DTLVERTEX));
    screen_quad(static_cast<D3DTLVERTEX*>(data), 0, 0, 8, 8, 0.5f, 0xFF00FF00);
    d->BeginScene();
    set_diffuse_only(d);
    WORD indices[6] = {0, 1, 2, 2, 1, 3};
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 0, 4, indices, 6, 0), D3DERR_VERTEXBUFFERLOCKED);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Unlock(), D3DERR_VERTEXBUFFERUNLOCKFAILED);
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 1, 4, indices, 6, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(d->DrawIndexedPrimitiveVB(D3DPT_TRIANGLELIST, vb.get(), 0, 4, indices, 6, 0), D3D_OK);
    EXPECT_EQ(d->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, vb.get(), 0, 4, 0), D3D_OK);
    d->EndScene();
    EXPECT_EQ(h.pixel(4, 4), 0xFF00FF00u);
}

TEST_P(DeviceApi, ComputeSphereVisibilityWithIdentityMatrices)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    struct Row {
        D3DVECTOR centre;
        float radius;
        DWORD result;
    } rows[] = {
        {{0, 0, 0.5f}, 0.5f, 0},           {{-1, -1, 0.5f}, 0.25f, 0x9},     {{-20, 0, 0.5f}, 3, 0x103D},
        {{20, 0, 0.5f}, 3, 0x203E},        {{0, -20, 0.5f}, 3, 0x803B},      {{0, 20, 0.5f}, 3, 0x4037},
        {{0, 0, -20}, 3, 0x1001F},         {{0, 0, 20}, 3, 0x2002F},
    };
    std::vector<D3DVECTOR> centres;
    std::vector<float> radii;
    for (const Row& r : rows) {
        centres.push_back(r.centre);
        radii.push_back(r.radius);
    }
    std::vector<DWORD> results(centres.size(), 0xDEADBEEF);
    ASSERT_EQ(h.device()->ComputeSphereVisibility(centres.data(), radii.data(), static_cast<DWORD>(centres.size()), 0,
                                                  results.data()),
              D3D_OK);
    for (std::size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i], rows[i].result) << "row " << i;
    EXPECT_EQ(h.device()->ComputeSphereVisibility(centres.data(), radii.data(), 1, 1, results.data()), DDERR_INVALIDPARAMS);
    EXPECT_EQ(h.device()->ComputeSphereVisibility(nullptr, radii.data(), 1, 0, results.data()), DDERR_INVALIDPARAMS);
}

TEST_P(DeviceApi, ComputeSphereVisibilityUsesTheCurrentTransforms)
{
    DeviceHarness h(guid(), 8, 8, false);
    ASSERT_TRUE(h.ok());
    IDirect3DDevice7* d = h.device();
    D3DMATRIX world, view, proj;
    matrix_translation(&world, 0, 0, 10);
    const Vector3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    matrix_look_at(&view, &eye, &at, &up);
    matrix_perspective(&proj, 3.14159265f / 2, 1.0f, 1.0f, 100.0f);
    d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    d->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    // In world space (after the world matrix): the centre (0,0,0) lies 15 in front of the eye.
    D3DVECTOR centres[4] = {{0, 0, 0}, {100, 0, 0}, {0, 0, -20}, {15, 0, 0}};
    float radii[4] = {1, 1, 1, 1};
    DWORD results[4];
    ASSERT_EQ(d->ComputeSphereVisibility(centres, radii, 4, 0, results), D3D_OK);
    EXPECT_EQ(results[0], 0u);                                      // inside
    EXPECT_NE(results[1] & D3DSTATUS_CLIPINTERSECTIONRIGHT, 0u);    // far to the right
    EXPECT_NE(results[2] & D3DSTATUS_CLIPINTERSECTIONFRONT, 0u);    // behind the eye
    EXPECT_EQ(results[3] & D3DSTATUS_CLIPINTERSECTIONALL, 0u);      // straddles the right plane
    EXPECT_NE(results[3] & D3DSTATUS_CLIPUNIONRIGHT, 0u);
}

TEST_P(DeviceApi, ReleaseReturnsTheRemainingCount)
{
    ComRef<IDirectDraw7> dd;
    ASSERT_EQ(create_direct_draw(dd.out()), DD_OK);
    IDirect3D7* d3d = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)), DD_OK);
    DDSURFACEDESC2 desc = surface_desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 8, 8);
    IDirectDrawSurface7* target = nullptr;
    ASSERT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
    IDirect3DDevice7* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(guid(), target, &device), D3D_OK);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(target->Release(), 0u);
    EXPECT_EQ(d3d->Release(), 0u);
    EXPECT_EQ(dd.release()->Release(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceApi, testing::ValuesIn(conformance_devices()), DeviceParamName());

TEST(DeviceEnumeration, SoftwareDeviceIsListedWithoutHardwareRasterisation)
{
    ComRef<IDirectDraw7> dd;
    ASSERT_EQ(create_direct_draw(dd.out()), DD_OK);
    ComRef<IDirect3D7> d3d;
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(d3d.out())), DD_OK);
    struct Found {
        bool soft = false;
        DWORD dev_caps = 0;
        std::string description;
    } found;
    ASSERT_EQ(d3d->EnumDevices(
                  [](LPSTR description, LPSTR, D3DDEVICEDESC7* desc, void* context) -> HRESULT {
                      auto* f = static_cast<Found*>(context);
                      if (desc->deviceGUID == IID_IDirect3DRGBDevice) {
                          f->soft = true;
                          f->dev_caps = desc->dwDevCaps;
                          f->description = description;
                      }
                      return D3DENUMRET_OK;
                  },
                  &found),
              D3D_OK);
    EXPECT_TRUE(found.soft);
    EXPECT_EQ(found.dev_caps & (D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_HWTRANSFORMANDLIGHT), 0u);
    EXPECT_FALSE(found.description.empty());
    EXPECT_EQ(d3d->EnumDevices(nullptr, nullptr), DDERR_INVALIDPARAMS);
    IDirect3DDevice7* device = nullptr;
    const GUID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    DDSURFACEDESC2 desc = surface_desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 8, 8);
    ComRef<IDirectDrawSurface7> target;
    ASSERT_EQ(dd->CreateSurface(&desc, target.out(), nullptr), DD_OK);
    EXPECT_EQ(d3d->CreateDevice(unknown, target.get(), &device), DDERR_INVALIDPARAMS);
    DDSURFACEDESC2 plain_desc = surface_desc(DDSCAPS_OFFSCREENPLAIN, 8, 8);
    ComRef<IDirectDrawSurface7> plain;
    ASSERT_EQ(dd->CreateSurface(&plain_desc, plain.out(), nullptr), DD_OK);
    EXPECT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, plain.get(), &device), DDERR_INVALIDCAPS);
    EXPECT_EQ(device, nullptr);
}

}  // namespace
