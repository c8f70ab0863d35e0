// The texture manager on the software device: names compared without regard to case, size rounding
// and clamping by device capabilities, format choice with the 16-bit fallback, upload by a stretching
// blit, release and lazy re-creation, alpha from blue, and render targets.
#include <cstring>

#include "platform/debug_output.h"
#include "texture_manager/texture_test_device.h"
#include "textures/texture_format.h"
#include "textures/texture_manager.h"

namespace {

using TextureNames = TextureManagerTest;
using TextureSizes = TextureManagerTest;
using TextureFormats = TextureManagerTest;
using TextureSurfaces = TextureManagerTest;

constexpr std::uint32_t kOrange = 0xFF8040FFu;  // 0xRRGGBBAA

TEST_F(TextureNames, LoadingTheSameNameInOtherCaseReusesTheEntry) {
    write_tga("metal.tga", 4, 4, kOrange);
    ASSERT_EQ(texture_load("metal.tga", 32, 8), S_OK);
    TextureEntry* first = texture_find("metal.tga");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(texture_load("METAL.TGA", 32, 0), S_OK);
    EXPECT_EQ(texture_find("Metal.Tga"), first);
    EXPECT_EQ(first->wanted_alpha_bits, 8u);  // the existing entry stays as it was
    texture_delete("METAL.tga");
    EXPECT_EQ(texture_find("metal.tga"), nullptr);  // there was only one entry
}

TEST_F(TextureNames, PicturesNamedInCapitalsAreFoundBesideTheirLowerCaseFiles) {
    write_tga("mp5sil.tga", 2, 2, kOrange);
    ASSERT_EQ(texture_load("MP5SIL.TGA", 32, 8), S_OK);
    ASSERT_NE(texture_get_surface("mp5sil.tga"), nullptr);
    EXPECT_STREQ(texture_find("mp5sil.tga")->name, "MP5SIL.TGA");
}

TEST_F(TextureNames, BadNamesAndMissingPicturesLeaveNoEntry) {
    EXPECT_EQ(texture_load(nullptr, 32, 8), E_INVALIDARG);
    EXPECT_EQ(texture_load("", 32, 8), E_INVALIDARG);
    const std::string long_name(80, 'a');
    EXPECT_EQ(texture_load(long_name.c_str(), 32, 8), E_INVALIDARG);
    EXPECT_EQ(texture_load("missing.tga", 32, 8), E_FAIL);
    EXPECT_EQ(texture_find("missing.tga"), nullptr);
    EXPECT_EQ(texture_load("picture.png", 32, 8), E_FAIL);
    EXPECT_EQ(texture_release_surface("missing.tga"), DDERR_NOTFOUND);
    EXPECT_EQ(texture_delete("missing.tga"), S_OK);
    EXPECT_EQ(texture_alpha_from_blue("missing.tga"), E_FAIL);
}

TEST_F(TextureNames, SelectingAnUnknownNameUnbindsTheStage) {
    EXPECT_EQ(texture_select(1, "nothing.jpg"), S_OK);
    EXPECT_EQ(device->calls_starting("SetTexture"), (std::vector<std::string>{"SetTexture 1 null"}));
}

TEST(TextureSizeRules, PowerOfTwoClampAndSquare) {
    D3DDEVICEDESC7 caps{};
    caps.dwMaxTextureWidth = caps.dwMaxTextureHeight = 4096;
    DWORD w = 300, h = 200;
    texture_fit_size(caps, &w, &h);
    EXPECT_EQ(w, 300u);
    EXPECT_EQ(h, 200u);
    caps.dpcTriCaps.dwTextureCaps = D3DPTEXTURECAPS_POW2;
    for (auto [in, out] : {std::pair<DWORD, DWORD>{1, 1}, {100, 128}, {256, 256}, {257, 512}}) {
        w = h = in;
        texture_fit_size(caps, &w, &h);
        EXPECT_EQ(w, out) << in;
    }
    caps.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
    w = 300;
    h = 200;
    texture_fit_size(caps, &w, &h);
    EXPECT_EQ(w, 512u);
    EXPECT_EQ(h, 512u);
    caps = D3DDEVICEDESC7{};  // a maximum of 0 counts as 256
    w = 512;
    h = 100;
    texture_fit_size(caps, &w, &h);
    EXPECT_EQ(w, 256u);
    EXPECT_EQ(h, 100u);
}

TEST_F(TextureSizes, TheDevicesRulesShapeTheSurface) {
    write_tga("wide.tga", 300, 200, kOrange);
    D3DDEVICEDESC7 caps = real_caps();
    device->caps = caps;
    ASSERT_EQ(texture_load("wide.tga", 32, 8), S_OK);
    EXPECT_EQ(read_texels(texture_get_surface("wide.tga")).width, 300u);

    caps.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_POW2;
    device->caps = caps;
    texture_release_surface("wide.tga");
    SurfaceTexels texels = read_texels(texture_get_surface("wide.tga"));
    EXPECT_EQ(texels.width, 512u);
    EXPECT_EQ(texels.height, 256u);

    caps.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_SQUAREONLY;
    device->caps = caps;
    texture_release_surface("wide.tga");
    texels = read_texels(texture_get_surface("wide.tga"));
    EXPECT_EQ(texels.width, 512u);
    EXPECT_EQ(texels.height, 512u);
    EXPECT_EQ(texels.at(511, 511), 0xFFFF8040u);  // the picture is stretched over the whole texture

    caps.dpcTriCaps.dwTextureCaps = 0;
    caps.dwMaxTextureWidth = 0;
    device->caps = caps;
    texture_release_surface("wide.tga");
    EXPECT_EQ(read_texels(texture_get_surface("wide.tga")).width, 256u);
}

TEST_F(TextureSizes, UploadStretchesByPointSampling) {
    write_tga("three.tga", 3, 1, {0xFF0000FFu, 0x00FF00FFu, 0x0000FFFFu});
    D3DDEVICEDESC7 caps = real_caps();
    caps.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_POW2;
    device->caps = caps;
    ASSERT_EQ(texture_load("three.tga", 32, 8), S_OK);
    const SurfaceTexels texels = read_texels(texture_get_surface("three.tga"));
    ASSERT_EQ(texels.width, 4u);
    EXPECT_EQ(texels.texels, (std::vector<std::uint32_t>{0xFFFF0000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}));
}

TEST_F(TextureFormats, TheFirstListedFormatWithTheWantedBitsIsTaken) {
    write_tga("a.tga", 2, 2, 0x11223344u);
    device->texture_formats = std::vector<DDPIXELFORMAT>{
        rgb_format(16, 0xF800, 0x07E0, 0x001F, 0), rgb_format(32, 0xFF0000, 0xFF00, 0xFF, 0),
        rgb_format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)};
    ASSERT_EQ(texture_load("a.tga", 32, 0), S_OK);
    SurfaceTexels texels = read_texels(texture_get_surface("a.tga"));
    EXPECT_EQ(texels.format.dwRGBAlphaBitMask, 0u);
    EXPECT_EQ(texels.format.dwRGBBitCount, 32u);
    texture_delete_all();
    ASSERT_EQ(texture_load("a.tga", 32, 8), S_OK);
    texels = read_texels(texture_get_surface("a.tga"));
    EXPECT_EQ(texels.format.dwRGBAlphaBitMask, 0xFF000000u);
    EXPECT_EQ(texels.at(0, 0), 0x44112233u);
}

TEST_F(TextureFormats, MissingFormatFallsBackTo16BitsWithOneWarning) {
    write_tga("soft.tga", 2, 2, 0xFF8040C0u);
    DDPIXELFORMAT luminance = rgb_format(32, 0xFF, 0, 0, 0xFF000000);
    luminance.dwFlags = DDPF_LUMINANCE | DDPF_ALPHAPIXELS;  // never taken, whatever its bits
    device->texture_formats = std::vector<DDPIXELFORMAT>{
        luminance, rgb_format(16, 0xF800, 0x07E0, 0x001F, 0), rgb_format(16, 0x0F00, 0x00F0, 0x000F, 0xF000)};
    DebugOutputCapture output;
    ASSERT_EQ(texture_load("soft.tga", 32, 8), S_OK);
    EXPECT_EQ(output.text(), TEXTURE_FORMAT_WARNING);
    const TextureEntry* entry = texture_find("soft.tga");
    EXPECT_EQ(entry->wanted_bits, 16u);
    EXPECT_EQ(entry->wanted_alpha_bits, 4u);
    SurfaceTexels texels = read_texels(entry->surface);
    EXPECT_EQ(texels.format.dwRGBAlphaBitMask, 0xF000u);
    EXPECT_EQ(texels.at(1, 1), 0xCF84u);

    texture_release_surface("soft.tga");  // re-created with the kept 16-bit wish: no second warning
    ASSERT_NE(texture_get_surface("soft.tga"), nullptr);
    EXPECT_EQ(output.text(), TEXTURE_FORMAT_WARNING);
}

TEST_F(TextureFormats, WithNoFormatAtAllEverySelectionTriesAgain) {
    write_tga("none.tga", 2, 2, kOrange);
    device->texture_formats = std::vector<DDPIXELFORMAT>{rgb_format(16, 0xF800, 0x07E0, 0x001F, 0)};
    DebugOutputCapture output;
    ASSERT_EQ(texture_load("none.tga", 32, 8), S_OK);  // the entry stays without a surface
    ASSERT_NE(texture_find("none.tga"), nullptr);
    EXPECT_EQ(texture_find("none.tga")->surface, nullptr);
    device->clear_calls();
    EXPECT_EQ(texture_select(0, "none.tga"), S_OK);
    EXPECT_EQ(device->calls_starting("SetTexture"), (std::vector<std::string>{"SetTexture 0 null"}));
    EXPECT_EQ(output.text(), std::string(TEXTURE_FORMAT_WARNING) + TEXTURE_FORMAT_WARNING);

    device->texture_formats.reset();  // a device that has the format after all
    EXPECT_NE(texture_get_surface("none.tga"), nullptr);
}

TEST_F(TextureSurfaces, ReleasedSurfacesAreMadeAgainFromTheKeptPicture) {
    write_tga("keep.tga", 8, 8, kOrange);
    ASSERT_EQ(texture_load("keep.tga", 32, 8), S_OK);
    EXPECT_EQ(texture_release_surface("keep.tga"), S_OK);
    ASSERT_NE(texture_find("keep.tga"), nullptr);
    EXPECT_EQ(texture_find("keep.tga")->surface, nullptr);
    device->clear_calls();
    device->label(nullptr, "null");
    EXPECT_EQ(texture_select(0, "KEEP.TGA"), S_OK);
    IDirectDrawSurface7* surface = texture_find("keep.tga")->surface;
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(device->textures[0], surface);
    EXPECT_EQ(read_texels(surface).at(7, 7), 0xFFFF8040u);
}

TEST_F(TextureSurfaces, AlphaFromBlueCopiesTheBlueChannel) {
    write_tga("grey.tga", 2, 1, {0x102030FFu, 0x405060FFu});
    ASSERT_EQ(texture_load("grey.tga", 32, 8), S_OK);
    ASSERT_EQ(texture_alpha_from_blue("grey.tga"), S_OK);
    EXPECT_EQ(read_texels(texture_get_surface("grey.tga")).texels,
              (std::vector<std::uint32_t>{0x30102030u, 0x60405060u}));

    device->texture_formats = std::vector<DDPIXELFORMAT>{rgb_format(16, 0x0F00, 0x00F0, 0x000F, 0xF000)};
    write_tga("grey16.tga", 1, 1, 0xFF8040C0u);
    {
        DebugOutputCapture quiet;
        ASSERT_EQ(texture_load("grey16.tga", 32, 8), S_OK);
    }
    ASSERT_EQ(texture_alpha_from_blue("grey16.tga"), S_OK);
    EXPECT_EQ(read_texels(texture_get_surface("grey16.tga")).at(0, 0), 0x4F84u);
}

TEST_F(TextureSurfaces, AlphaFromBlueLeavesFormatsWithoutAlphaAlone) {
    write_tga("opaque.tga", 1, 1, 0x102030FFu);
    ASSERT_EQ(texture_load("opaque.tga", 32, 0), S_OK);
    const std::uint32_t before = read_texels(texture_get_surface("opaque.tga")).at(0, 0);
    EXPECT_EQ(texture_alpha_from_blue("opaque.tga"), S_OK);
    EXPECT_EQ(read_texels(texture_get_surface("opaque.tga")).at(0, 0), before);
}

TEST_F(TextureSurfaces, RenderTargetsAreEmptyTexturesTheDeviceCanDrawInto) {
    ASSERT_EQ(texture_create_target("blur", 256, 128, 32, 8, 0, DDSCAPS_3DDEVICE), S_OK);
    IDirectDrawSurface7* surface = texture_get_surface("blur");
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), S_OK);
    EXPECT_EQ(desc.dwWidth, 256u);
    EXPECT_EQ(desc.dwHeight, 128u);
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE), DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    EXPECT_EQ(offscreen.device()->SetRenderTarget(surface, 0), S_OK);
    EXPECT_EQ(offscreen.device()->SetRenderTarget(offscreen.target(), 0), S_OK);
}

TEST_F(TextureSurfaces, ATargetWhoseNameExistsFailsAndLeavesTheEntry) {
    ASSERT_EQ(texture_create_target("blur", 64, 64, 32, 8, 0, DDSCAPS_3DDEVICE), S_OK);
    IDirectDrawSurface7* surface = texture_find("blur")->surface;
    EXPECT_EQ(texture_create_target("BLUR", 32, 32, 32, 0, 0, DDSCAPS_3DDEVICE), E_FAIL);
    EXPECT_EQ(texture_find("blur")->surface, surface);
    EXPECT_EQ(texture_find("blur")->width, 64u);
    EXPECT_EQ(texture_create_target(nullptr, 32, 32, 32, 0, 0, 0), E_INVALIDARG);
}

TEST_F(TextureSurfaces, DeletingRemovesOnlyThatEntry) {
    write_tga("one.tga", 1, 1, kOrange);
    write_tga("two.tga", 1, 1, kOrange);
    write_tga("three.tga", 1, 1, kOrange);
    ASSERT_EQ(texture_load("one.tga", 32, 8), S_OK);
    ASSERT_EQ(texture_load("two.tga", 32, 8), S_OK);
    ASSERT_EQ(texture_load("three.tga", 32, 8), S_OK);
    EXPECT_EQ(texture_delete("two.tga"), S_OK);  // from the middle of the list
    EXPECT_EQ(texture_find("two.tga"), nullptr);
    EXPECT_NE(texture_find("one.tga"), nullptr);
    EXPECT_NE(texture_find("three.tga"), nullptr);
    EXPECT_EQ(texture_delete("three.tga"), S_OK);  // the head
    EXPECT_NE(texture_find("one.tga"), nullptr);
}

}  // namespace
