// DirectDraw objects and surfaces: driver enumeration and creation, cooperative levels and display
// modes on the headless driver, primary surfaces and flip chains (the back buffer keeps its contents),
// Lock/Unlock, Blt fills and point-sampled stretching on 16.16 steps, attachment rules for z-buffers,
// lost surfaces and their restoration, and reference counts.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d/device_fixture.h"
#include "platform/d3d/core/headless_display.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));

TEST(DirectDrawObject, EnumerationAndCreation)
{
    struct Seen {
        int count = 0;
        bool primary_has_null_guid = false;
    } seen;
    ASSERT_EQ(DirectDrawEnumerateExA(
                  [](GUID* guid, LPSTR description, LPSTR, void* context, HMONITOR) -> BOOL {
                      auto* s = static_cast<Seen*>(context);
                      if (s->count++ == 0) s->primary_has_null_guid = guid == nullptr && description[0] != '\0';
                      return TRUE;
                  },
                  &seen, DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES),
              DD_OK);
    EXPECT_EQ(seen.count, 1);
    EXPECT_TRUE(seen.primary_has_null_guid);
    EXPECT_EQ(DirectDrawEnumerateExA(nullptr, nullptr, 0), DDERR_INVALIDPARAMS);

    void* dd = nullptr;
    EXPECT_EQ(DirectDrawCreateEx(nullptr, &dd, IID_IDirect3D7, nullptr), DDERR_INVALIDPARAMS);
    GUID unknown = {9, 9, 9, {9, 9, 9, 9, 9, 9, 9, 9}};
    EXPECT_EQ(DirectDrawCreateEx(&unknown, &dd, IID_IDirectDraw7, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(DirectDrawCreateEx(nullptr, nullptr, IID_IDirectDraw7, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(DirectDrawCreateEx(nullptr, &dd, IID_IDirectDraw7, nullptr), DD_OK);
    auto* ddraw = static_cast<IDirectDraw7*>(dd);
    DDSURFACEDESC2 desc = surface_desc(DDSCAPS_OFFSCREENPLAIN, 4, 4);
    IDirectDrawSurface7* s = nullptr;
    EXPECT_EQ(ddraw->CreateSurface(&desc, &s, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(ddraw->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(ddraw->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL | DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL | DDSCL_FPUSETUP), DD_OK);
    EXPECT_EQ(ddraw->Release(), 0u);
}

TEST(DirectDrawObject, DisplayModes)
{
    ComRef<IDirectDraw7> dd;
    ASSERT_EQ(create_direct_draw(dd.out()), DD_OK);
    std::vector<DDSURFACEDESC2> modes;
    ASSERT_EQ(dd->EnumDisplayModes(0, nullptr, &modes,
                                   [](DDSURFACEDESC2* d, void* context) -> HRESULT {
                                       static_cast<std::vector<DDSURFACEDESC2>*>(context)->push_back(*d);
                                       return DDENUMRET_OK;
                                   }),
              DD_OK);
    // The headless driver's four modes, 640 × 480 × 16 (R5G6B5) first; the framework's enumeration
    // tests cover other mode lists.
    ASSERT_EQ(modes.size(), 4u);
    EXPECT_EQ(modes[0].ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(modes[0].ddpfPixelFormat.dwRBitMask, 0xF800u);
    DDCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(dd->GetCaps(&caps, nullptr), DD_OK);
    EXPECT_TRUE(caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED);
    EXPECT_EQ(dd->GetCaps(nullptr, nullptr), DDERR_INVALIDPARAMS);

    auto width = [&] {
        DDSURFACEDESC2 mode{};
        mode.dwSize = sizeof(mode);
        EXPECT_EQ(dd->GetDisplayMode(&mode), DD_OK);
        return mode.dwWidth;
    };
    EXPECT_EQ(width(), 640u);
    EXPECT_EQ(dd->SetDisplayMode(640, 400, 32, 0, 0), DDERR_INVALIDMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(800, 600, 32, 0, 0), DD_OK);
    EXPECT_EQ(width(), 800u);
    ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(width(), 640u);  // leaving exclusive mode gives the desktop mode back
}

class Surfaces : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(create_direct_draw(dd_.out()), DD_OK); }
    IDirectDrawSurface7* make(DWORD caps, DWORD w, DWORD h, const DDPIXELFORMAT* f = nullptr)
    {
        DDSURFACEDESC2 d = surface_desc(caps, w, h, f);
        IDirectDrawSurface7* s = nullptr;
        EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DD_OK) << "caps " << caps;
        return s;
    }
    ComRef<IDirectDraw7> dd_;
};

TEST_F(Surfaces, CreationChecksItsDescription)
{
    IDirectDrawSurface7* s = nullptr;
    DDSURFACEDESC2 d = surface_desc(DDSCAPS_OFFSCREENPLAIN, 4, 4);
    d.dwSize = 10;
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    d = surface_desc(DDSCAPS_OFFSCREENPLAIN, 0, 4);
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    d = surface_desc(DDSCAPS_OFFSCREENPLAIN, 100000, 4);
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_TOOBIGSIZE);
    d = surface_desc(DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY, 4, 4);
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDCAPS);
    d = surface_desc(DDSCAPS_ZBUFFER, 4, 4);  // no depth format
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPIXELFORMAT);
    DDPIXELFORMAT f24 = format_x8r8g8b8();
    f24.dwRGBBitCount = 24;
    d = surface_desc(DDSCAPS_TEXTURE, 4, 4, &f24);
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(dd_->CreateSurface(nullptr, &s, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(s, nullptr);
    // The texture manager's staging surface: flags 0x101007, caps 0x1800.
    const DDPIXELFORMAT f32 = format_a8r8g8b8();
    d = surface_desc(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 3, 5, &f32);
    d.dwFlags |= DDSD_TEXTURESTAGE;
    ASSERT_EQ(dd_->CreateSurface(&d, &s, nullptr), DD_OK);
    DDSURFACEDESC2 got{};
    got.dwSize = sizeof(got);
    ASSERT_EQ(s->GetSurfaceDesc(&got), DD_OK);
    EXPECT_EQ(got.dwWidth, 3u);
    EXPECT_EQ(got.dwHeight, 5u);
    EXPECT_EQ(got.ddsCaps.dwCaps & (DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY), DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
    EXPECT_EQ(got.ddpfPixelFormat.dwRGBAlphaBitMask, 0xFF000000u);
    // References, and the DirectDraw object a surface holds until it is released.
    void* dd = nullptr;
    ASSERT_EQ(s->GetDDInterface(&dd), DD_OK);
    EXPECT_EQ(dd, static_cast<void*>(dd_.get()));
    static_cast<IDirectDraw7*>(dd)->Release();
    EXPECT_EQ(s->AddRef(), 2u);
    EXPECT_EQ(s->Release(), 1u);
    IDirectDraw7* owner = dd_.release();
    EXPECT_EQ(owner->Release(), 1u);
    EXPECT_EQ(s->Release(), 0u);
}

TEST_F(Surfaces, LockGivesPointerPitchAndFormat)
{
    const DDPIXELFORMAT f = format_r5g6b5();
    ComRef<IDirectDrawSurface7> s(make(DDSCAPS_TEXTURE, 5, 3, &f));
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_NE(d.lpSurface, nullptr);
    EXPECT_GE(d.lPitch, 10);
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(s->Lock(nullptr, &d, 0, nullptr), DDERR_SURFACEBUSY);
    std::memset(d.lpSurface, 0xFF, static_cast<std::size_t>(d.lPitch) * 3);
    ASSERT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
    RECT r{2, 1, 4, 3};
    DDSURFACEDESC2 part{};
    part.dwSize = sizeof(part);
    ASSERT_EQ(s->Lock(&r, &part, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<BYTE*>(part.lpSurface), static_cast<BYTE*>(d.lpSurface) + d.lPitch + 4);
    s->Unlock(&r);
    RECT outside{3, 0, 6, 1};
    EXPECT_EQ(s->Lock(&outside, &part, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(s->Lock(nullptr, nullptr, 0, nullptr), DDERR_INVALIDPARAMS);
}

std::vector<std::uint32_t> read_row(IDirectDrawSurface7* s, int y)
{
    FrameImage image;
    frame_readback(s, &image);
    return std::vector<std::uint32_t>(image.argb.begin() + y * image.width, image.argb.begin() + (y + 1) * image.width);
}

void write_pixels(IDirectDrawSurface7* s, const std::vector<std::uint32_t>& argb)
{
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    for (DWORD y = 0; y < d.dwHeight; ++y) {
        std::memcpy(static_cast<BYTE*>(d.lpSurface) + static_cast<std::ptrdiff_t>(y) * d.lPitch, &argb[y * d.dwWidth],
                    d.dwWidth * 4);
    }
    s->Unlock(nullptr);
}

TEST_F(Surfaces, StretchingBltSamplesOnSixteenDotSixteenSteps)
{
    const DDPIXELFORMAT f = format_x8r8g8b8();
    // 3 → 4: xinc = floor(3·65536/4) = 49152; pixels take 0, 0, 1, 2.
    ComRef<IDirectDrawSurface7> src(make(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 3, 1, &f));
    ComRef<IDirectDrawSurface7> dst(make(DDSCAPS_TEXTURE, 4, 1, &f));
    write_pixels(src.get(), {0xFF000001, 0xFF000002, 0xFF000003});
    ASSERT_EQ(dst->Blt(nullptr, src.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read_row(dst.get(), 0), (std::vector<std::uint32_t>{0xFF000001, 0xFF000001, 0xFF000002, 0xFF000003}));
    // 5 → 2: xinc = floor(5·65536/2) = 163840; pixels take 0 and 2.
    ComRef<IDirectDrawSurface7> wide(make(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 5, 1, &f));
    ComRef<IDirectDrawSurface7> narrow(make(DDSCAPS_TEXTURE, 2, 1, &f));
    write_pixels(wide.get(), {0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040, 0xFF000050});
    ASSERT_EQ(narrow->Blt(nullptr, wide.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read_row(narrow.get(), 0), (std::vector<std::uint32_t>{0xFF000010, 0xFF000030}));
    // Same size copies one to one, rectangles included.
    RECT sr{1, 0, 3, 1}, dr{0, 0, 2, 1};
    ASSERT_EQ(narrow->Blt(&dr, wide.get(), &sr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read_row(narrow.get(), 0), (std::vector<std::uint32_t>{0xFF000020, 0xFF000030}));
    RECT bad{0, 0, 9, 1};
    EXPECT_EQ(narrow->Blt(&bad, wide.get(), nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(narrow->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Surfaces, ColourFillAndFormatConversion)
{
    const DDPIXELFORMAT f16 = format_r5g6b5();
    const DDPIXELFORMAT f32 = format_x8r8g8b8();
    ComRef<IDirectDrawSurface7> s16(make(DDSCAPS_OFFSCREENPLAIN, 2, 2, &f16));
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0xF800;  // the surface's own pixel bits
    ASSERT_EQ(s16->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(read_row(s16.get(), 1)[1], 0xFFFF0000u);
    EXPECT_EQ(s16->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
    ComRef<IDirectDrawSurface7> s32(make(DDSCAPS_OFFSCREENPLAIN, 2, 2, &f32));
    ASSERT_EQ(s32->Blt(nullptr, s16.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(read_row(s32.get(), 0)[0], 0xFFFF0000u);
}

TEST_F(Surfaces, ColourFillOfARectWritesExactlyItsPixels)
{
    // Every width from one pixel to wider than the fill's 32-byte blocks, at odd and even columns.
    const DDPIXELFORMAT f16 = format_r5g6b5();
    const DDPIXELFORMAT f32 = format_x8r8g8b8();
    for (const DDPIXELFORMAT* format : {&f16, &f32}) {
        const bool narrow = format == &f16;
        ComRef<IDirectDrawSurface7> s(make(DDSCAPS_OFFSCREENPLAIN, 48, 2, format));
        for (LONG left : {0L, 1L, 3L}) {
            for (LONG width = 1; left + width <= 48; ++width) {
                DDBLTFX fx{};
                fx.dwSize = sizeof(fx);
                fx.dwFillColor = 0;
                ASSERT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
                fx.dwFillColor = narrow ? 0x001Fu : 0x000000FFu;  // blue in the surface's own bits
                RECT r{left, 1, left + width, 2};
                ASSERT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
                const std::vector<std::uint32_t> top = read_row(s.get(), 0);
                const std::vector<std::uint32_t> row = read_row(s.get(), 1);
                for (LONG x = 0; x < 48; ++x) {
                    const std::uint32_t expected = x >= left && x < left + width ? 0xFF0000FFu : 0xFF000000u;
                    ASSERT_EQ(row[static_cast<std::size_t>(x)], expected) << "left " << left << " width " << width << " x " << x;
                    ASSERT_EQ(top[static_cast<std::size_t>(x)], 0xFF000000u);
                }
            }
        }
    }
}

TEST_F(Surfaces, ZBufferAttachmentRules)
{
    const DDPIXELFORMAT z = format_z(16);
    ComRef<IDirectDrawSurface7> back(make(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 64, 48));
    ComRef<IDirectDrawSurface7> zbuf(make(DDSCAPS_ZBUFFER, 64, 48, &z));
    ComRef<IDirectDrawSurface7> small_z(make(DDSCAPS_ZBUFFER, 32, 32, &z));
    ComRef<IDirectDrawSurface7> texture(make(DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE, 32, 32));
    ComRef<IDirectDrawSurface7> plain(make(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 32, 32));
    ComRef<IDirectDrawSurface7> other(make(DDSCAPS_OFFSCREENPLAIN, 64, 48));

    EXPECT_EQ(back->AddAttachedSurface(other.get()), DDERR_CANNOTATTACHSURFACE);  // not a z-buffer
    EXPECT_EQ(back->AddAttachedSurface(small_z.get()), DDERR_CANNOTATTACHSURFACE);  // smaller
    EXPECT_EQ(plain->AddAttachedSurface(zbuf.get()), DDERR_CANNOTATTACHSURFACE);   // larger, not a texture
    ASSERT_EQ(back->AddAttachedSurface(zbuf.get()), DD_OK);
    EXPECT_EQ(texture->AddAttachedSurface(zbuf.get()), DDERR_SURFACEALREADYATTACHED);
    EXPECT_EQ(back->AddAttachedSurface(small_z.get()), DDERR_CANNOTATTACHSURFACE);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_ZBUFFER;
    IDirectDrawSurface7* found = nullptr;
    ASSERT_EQ(back->GetAttachedSurface(&caps, &found), DD_OK);
    EXPECT_EQ(found, zbuf.get());
    found->Release();
    EXPECT_EQ(texture->DeleteAttachedSurface(0, zbuf.get()), DDERR_SURFACENOTATTACHED);
    EXPECT_EQ(back->DeleteAttachedSurface(1, zbuf.get()), DDERR_INVALIDPARAMS);
    ASSERT_EQ(back->DeleteAttachedSurface(0, zbuf.get()), DD_OK);
    EXPECT_EQ(back->GetAttachedSurface(&caps, &found), DDERR_NOTFOUND);
    ASSERT_EQ(texture->AddAttachedSurface(zbuf.get()), DD_OK);  // larger z-buffer on a texture target
    EXPECT_EQ(texture->DeleteAttachedSurface(0, zbuf.get()), DD_OK);
}

class DisplayDriverTest : public testing::Test {
protected:
    void SetUp() override
    {
        driver_ = std::make_shared<HeadlessDisplayDriver>();
        display_drivers_install({driver_});
        ASSERT_EQ(create_direct_draw(dd_.out()), DD_OK);
    }
    void TearDown() override
    {
        dd_.reset();
        display_drivers_install({});
    }
    std::shared_ptr<HeadlessDisplayDriver> driver_;
    ComRef<IDirectDraw7> dd_;
};

TEST_F(DisplayDriverTest, FlipChainKeepsTheBackBufferAndPresents)
{
    IDirectDraw7* dd = dd_.get();
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof(d);
    d.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    d.dwBackBufferCount = 1;
    IDirectDrawSurface7* s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    ComRef<IDirectDrawSurface7> primary;
    ASSERT_EQ(dd->CreateSurface(&d, primary.out(), nullptr), DD_OK);
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ComRef<IDirectDrawSurface7> back;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, back.out()), DD_OK);
    DDSURFACEDESC2 bd{};
    bd.dwSize = sizeof(bd);
    back->GetSurfaceDesc(&bd);
    EXPECT_EQ(bd.dwWidth, 640u);
    EXPECT_EQ(bd.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_TRUE(bd.ddsCaps.dwCaps & DDSCAPS_3DDEVICE);

    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0x07E0;
    ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    const unsigned before = driver_->present_count();
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(driver_->present_count(), before + 1);
    EXPECT_EQ(read_row(primary.get(), 10)[10], 0xFF00FF00u);
    EXPECT_EQ(read_row(back.get(), 10)[10], 0xFF00FF00u);  // the back buffer keeps the frame
    EXPECT_EQ(back->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    // The exclusive owner learns that it lost the display, and when it is back.
    driver_->simulate_display_taken(true);
    EXPECT_EQ(dd->TestCooperativeLevel(), DDERR_NOEXCLUSIVEMODE);
    driver_->simulate_display_taken(false);
    EXPECT_EQ(dd->TestCooperativeLevel(), DD_OK);
}

TEST_F(DisplayDriverTest, WindowedPresentByBltAndLostSurfaces)
{
    IDirectDraw7* dd = dd_.get();
    ASSERT_EQ(dd->SetCooperativeLevel(kWindow, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 d = surface_desc(DDSCAPS_PRIMARYSURFACE, 0, 0);
    d.dwFlags = DDSD_CAPS;
    ComRef<IDirectDrawSurface7> primary;
    ASSERT_EQ(dd->CreateSurface(&d, primary.out(), nullptr), DD_OK);
    ComRef<IDirectDrawClipper> clipper;
    ASSERT_EQ(dd->CreateClipper(0, clipper.out(), nullptr), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, kWindow), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper.get()), DD_OK);
    DDSURFACEDESC2 bd = surface_desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE, 64, 48);
    DDSURFACEDESC2 sd = surface_desc(DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY, 4, 4);
    ComRef<IDirectDrawSurface7> back, staging;
    ASSERT_EQ(dd->CreateSurface(&bd, back.out(), nullptr), DD_OK);
    ASSERT_EQ(dd->CreateSurface(&sd, staging.out(), nullptr), DD_OK);

    RECT screen{600, 450, 664, 498};  // partly off the 640 × 480 desktop: the clipper trims it
    ASSERT_EQ(primary->Blt(&screen, back.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(driver_->present_count(), 1u);
    EXPECT_EQ(driver_->last_present_rect().right, 640);

    EXPECT_EQ(dd->TestCooperativeLevel(), DD_OK);
    driver_->simulate_display_taken(true);
    EXPECT_EQ(dd->TestCooperativeLevel(), DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(staging->IsLost(), DD_OK);  // system memory is never lost
    EXPECT_EQ(primary->Blt(&screen, back.get(), nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
    driver_->simulate_display_taken(false);
    ASSERT_EQ(dd->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(primary->IsLost(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(primary->Blt(&screen, back.get(), nullptr, DDBLT_WAIT, nullptr), DD_OK);
}

}  // namespace
