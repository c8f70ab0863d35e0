// The texture manager on the software device, seen through a recording device that may imitate other
// hardware: names in any case, size rules, format choice with the 16-bit fallback, upload by a
// stretching blit, release and lazy re-creation, alpha from blue, and render targets.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "platform/debug_output.h"
#include "render/offscreen_device.h"
#include "support/recording_device.h"
#include "textures/texture_format.h"
#include "textures/texture_manager.h"

namespace {

using Calls = std::vector<std::string>;
using Formats = std::vector<DDPIXELFORMAT>;
constexpr std::uint32_t kOrange = 0xFF8040FFu;  // 0xRRGGBBAA in pictures; 0xAARRGGBB in 32-bit texels

struct SurfaceTexels {
    DWORD width = 0;
    DDPIXELFORMAT format{};
    std::vector<std::uint32_t> texels;  // as stored (16-bit texels widened), rows top first
    std::uint32_t at(DWORD x, DWORD y) const { return texels[static_cast<std::size_t>(y) * width + x]; }
};

SurfaceTexels read_texels(IDirectDrawSurface7* surface) {
    SurfaceTexels out;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return out;
    out.width = locked.dwWidth;
    out.format = locked.ddpfPixelFormat;
    for (DWORD y = 0; y < locked.dwHeight; ++y) {
        const auto* row = static_cast<const BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
        for (DWORD x = 0, size = locked.ddpfPixelFormat.dwRGBBitCount / 8; x < locked.dwWidth; ++x) {
            std::memcpy(&out.texels.emplace_back(0), row + x * size, size);
        }
    }
    surface->Unlock(nullptr);
    return out;
}

DDPIXELFORMAT rgb_format(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a) {
    return {sizeof(DDPIXELFORMAT), DDPF_RGB | (a != 0 ? DDPF_ALPHAPIXELS : 0u), 0, {bits}, {r}, {g}, {b}, {a}};
}
const DDPIXELFORMAT kRgb565 = rgb_format(16, 0xF800, 0x07E0, 0x001F, 0);
const DDPIXELFORMAT kArgb4444 = rgb_format(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
const DDPIXELFORMAT kXrgb8888 = rgb_format(32, 0xFF0000, 0xFF00, 0xFF, 0);
const DDPIXELFORMAT kArgb8888 = rgb_format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);

class TextureManager : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::string(VIRELINE_BINARY_DIR) + "/test-scratch/texture_manager/" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::string reason;
        ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, 64, 64, &reason), S_OK) << reason;
        offscreen.make_current();
        device.inner = offscreen.device();
        current_device = &device;
        texture_set_directory(folder.c_str());
    }
    void TearDown() override {
        texture_delete_all();
        texture_set_directory(nullptr);
    }

    // An uncompressed 32-bit top-down TGA of 0xRRGGBBAA pixels (one pixel given: all of that colour).
    void write_tga(const std::string& name, int width, int height, std::vector<std::uint32_t> rgba) {
        if (rgba.size() == 1) rgba.assign(static_cast<std::size_t>(width) * height, rgba[0]);
        std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(width), char(width >> 8),
                             char(height), char(height >> 8), 32, 0x28};
        for (std::uint32_t p : rgba) bytes += {char(p >> 8), char(p >> 16), char(p >> 24), char(p)};
        std::ofstream(folder + name, std::ios::binary) << bytes;
    }
    std::string folder;
    OffscreenDevice offscreen;
    RecordingDevice device;
};

TEST_F(TextureManager, NamesAreFoundInAnyCaseLoadedOnceAndDeletedAlone) {
    for (const char* name : {"one.tga", "metal.tga", "three.tga"}) write_tga(name, 4, 4, {kOrange});
    // The picture of "METAL.TGA" is found beside its capitalised name.
    for (const char* name : {"one.tga", "METAL.TGA", "three.tga"}) ASSERT_EQ(texture_load(name, 32, 8), S_OK) << name;
    TextureEntry* metal = texture_find("metal.tga");
    ASSERT_NE(metal, nullptr);
    EXPECT_STREQ(metal->name, "METAL.TGA");
    EXPECT_NE(texture_get_surface("Metal.Tga"), nullptr);
    EXPECT_EQ(texture_load("metal.tga", 32, 0), S_OK);
    EXPECT_EQ(texture_find("mETAL.tga"), metal);
    EXPECT_EQ(metal->wanted_alpha_bits, 8u);        // the existing entry stays as it was
    EXPECT_EQ(texture_delete("Metal.TGA"), S_OK);   // from the middle of the list (newest first)
    EXPECT_EQ(texture_find("metal.tga"), nullptr);  // there was only one entry
    EXPECT_NE(texture_find("one.tga"), nullptr);
    EXPECT_NE(texture_find("three.tga"), nullptr);
    EXPECT_EQ(texture_delete("three.tga"), S_OK);  // the head
    EXPECT_NE(texture_find("one.tga"), nullptr);
}

TEST_F(TextureManager, BadNamesAndUnknownTexturesLeaveNoEntry) {
    const std::string long_name(80, 'a');
    for (const char* name : {static_cast<const char*>(nullptr), "", long_name.c_str()}) {
        EXPECT_EQ(texture_load(name, 32, 8), E_INVALIDARG);
    }
    EXPECT_EQ(texture_load("missing.tga", 32, 8), E_FAIL);
    EXPECT_EQ(texture_find("missing.tga"), nullptr);
    EXPECT_EQ(texture_release_surface("missing.tga"), DDERR_NOTFOUND);
    EXPECT_EQ(texture_delete("missing.tga"), S_OK);
    EXPECT_EQ(texture_alpha_from_blue("missing.tga"), E_FAIL);
    EXPECT_EQ(texture_select(1, "missing.tga"), S_OK);  // unbinds the stage
    EXPECT_EQ(device.calls_starting("SetTexture"), (Calls{"SetTexture 1 null"}));
}

TEST(TextureSizeRules, PowerOfTwoThenMaximumThenSquare) {
    constexpr DWORD pow2 = D3DPTEXTURECAPS_POW2;
    constexpr DWORD square = D3DPTEXTURECAPS_SQUAREONLY;
    const DWORD cases[][6] = {
        // texture caps, maximum side, width, height → width, height
        {0, 4096, 300, 200, 300, 200},      {pow2, 4096, 1, 257, 1, 512},       {pow2, 4096, 100, 256, 128, 256},
        {pow2 | square, 4096, 300, 200, 512, 512}, {0, 0, 512, 100, 256, 100},  {pow2, 64, 100, 30, 64, 32},
        {square, 0, 300, 20, 256, 256},
    };
    for (const auto& c : cases) {
        D3DDEVICEDESC7 caps{};
        caps.dpcTriCaps.dwTextureCaps = c[0];
        caps.dwMaxTextureWidth = caps.dwMaxTextureHeight = c[1];
        DWORD width = c[2], height = c[3];
        texture_fit_size(caps, &width, &height);
        EXPECT_EQ(std::pair(width, height), std::pair(c[4], c[5])) << c[0] << " " << c[1] << " " << c[2] << "x" << c[3];
    }
}

TEST_F(TextureManager, TheDevicesSizeRulesShapeTheSurfaceAndThePictureIsStretchedOverIt) {
    D3DDEVICEDESC7 caps{};
    offscreen.device()->GetCaps(&caps);
    caps.dpcTriCaps.dwTextureCaps |= D3DPTEXTURECAPS_POW2;
    device.caps = caps;
    write_tga("three.tga", 3, 1, {0xFF0000FFu, 0x00FF00FFu, 0x0000FFFFu});
    ASSERT_EQ(texture_load("three.tga", 32, 8), S_OK);  // 3 → 4 texels, point sampled
    EXPECT_EQ(read_texels(texture_get_surface("three.tga")).texels,
              (std::vector<std::uint32_t>{0xFFFF0000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}));
}

TEST_F(TextureManager, TheFirstListedFormatWithTheWantedBitsIsTaken) {
    write_tga("a.tga", 2, 2, {0x11223344u});
    device.texture_formats = Formats{kRgb565, kXrgb8888, kArgb8888};
    ASSERT_EQ(texture_load("a.tga", 32, 0), S_OK);
    SurfaceTexels texels = read_texels(texture_get_surface("a.tga"));
    EXPECT_EQ(std::pair(texels.format.dwRGBBitCount, texels.format.dwRGBAlphaBitMask), std::pair(32u, 0u));
    texture_delete_all();
    ASSERT_EQ(texture_load("a.tga", 32, 8), S_OK);
    texels = read_texels(texture_get_surface("a.tga"));
    EXPECT_EQ(std::pair(texels.format.dwRGBAlphaBitMask, texels.at(0, 0)), std::pair(0xFF000000u, 0x44112233u));
}

TEST_F(TextureManager, AMissingFormatFallsBackTo16BitsWithOneWarningAndNoFormatLeavesNoSurface) {
    write_tga("soft.tga", 2, 2, {0xFF8040C0u});
    DDPIXELFORMAT luminance = rgb_format(32, 0xFF, 0, 0, 0xFF000000);
    luminance.dwFlags = DDPF_LUMINANCE | DDPF_ALPHAPIXELS;  // never taken, whatever its bits
    device.texture_formats = Formats{luminance, kRgb565, kArgb4444};
    DebugOutputCapture output;
    ASSERT_EQ(texture_load("soft.tga", 32, 8), S_OK);
    EXPECT_EQ(output.text(), TEXTURE_FORMAT_WARNING);
    const TextureEntry* entry = texture_find("soft.tga");
    EXPECT_EQ(std::pair(entry->wanted_bits, entry->wanted_alpha_bits), std::pair(16u, 4u));
    const SurfaceTexels texels = read_texels(entry->surface);
    EXPECT_EQ(std::pair(texels.format.dwRGBAlphaBitMask, texels.at(1, 1)), std::pair(0xF000u, 0xCF84u));
    texture_release_surface("soft.tga");  // made again with the kept 16-bit wish: no second warning
    ASSERT_NE(texture_get_surface("soft.tga"), nullptr);
    EXPECT_EQ(output.text(), TEXTURE_FORMAT_WARNING);

    // With no format at all the entry stays without a surface, and every request tries again.
    texture_delete_all();
    device.texture_formats = Formats{kRgb565};
    ASSERT_EQ(texture_load("soft.tga", 32, 8), S_OK);
    EXPECT_EQ(texture_find("soft.tga")->surface, nullptr);
    device.clear_calls();
    EXPECT_EQ(texture_select(0, "soft.tga"), S_OK);
    EXPECT_EQ(device.calls_starting("SetTexture"), (Calls{"SetTexture 0 null"}));
    EXPECT_EQ(output.text(), std::string(TEXTURE_FORMAT_WARNING) + TEXTURE_FORMAT_WARNING + TEXTURE_FORMAT_WARNING);
    device.texture_formats.reset();  // a device that has the format after all
    EXPECT_NE(texture_get_surface("soft.tga"), nullptr);
}

TEST_F(TextureManager, ReleasedSurfacesAreMadeAgainFromTheKeptPictureWhenSelected) {
    write_tga("keep.tga", 8, 8, {kOrange});
    ASSERT_EQ(texture_load("keep.tga", 32, 8), S_OK);
    EXPECT_EQ(texture_release_surface("keep.tga"), S_OK);
    ASSERT_EQ(texture_find("keep.tga")->surface, nullptr);
    EXPECT_EQ(texture_select(0, "KEEP.TGA"), S_OK);
    IDirectDrawSurface7* surface = texture_find("keep.tga")->surface;
    ASSERT_NE(surface, nullptr);
    IDirectDrawSurface7* bound = nullptr;
    ASSERT_EQ(offscreen.device()->GetTexture(0, &bound), S_OK);
    EXPECT_EQ(bound, surface);
    bound->Release();
    EXPECT_EQ(read_texels(surface).at(7, 7), 0xFFFF8040u);
}

TEST_F(TextureManager, AlphaFromBlueCopiesTheBlueChannelWhereTheFormatHasAlpha) {
    const std::tuple<DDPIXELFORMAT, std::uint32_t, std::uint32_t> cases[] = {
        // format, picture pixel (0xRRGGBBAA), texel afterwards
        {kArgb8888, 0x102030FFu, 0x30102030u},
        {kArgb4444, 0xFF8040C0u, 0x4F84u},
        {kXrgb8888, 0x102030FFu, 0x00102030u},  // no alpha: unchanged
    };
    for (const auto& [format, rgba, expected] : cases) {
        write_tga("grey.tga", 1, 1, {rgba});
        device.texture_formats = Formats{format};
        const auto alpha_bits = static_cast<DWORD>(std::popcount(format.dwRGBAlphaBitMask));
        ASSERT_EQ(texture_load("grey.tga", format.dwRGBBitCount, alpha_bits), S_OK);
        ASSERT_EQ(texture_alpha_from_blue("grey.tga"), S_OK);
        EXPECT_EQ(read_texels(texture_get_surface("grey.tga")).at(0, 0), expected) << std::hex << expected;
        texture_delete("grey.tga");
    }
}

TEST_F(TextureManager, RenderTargetsAreEmptyTexturesTheDeviceCanDrawIntoAndKeepTheirName) {
    ASSERT_EQ(texture_create_target("blur", 256, 128, 32, 8, 0, DDSCAPS_3DDEVICE), S_OK);
    IDirectDrawSurface7* surface = texture_get_surface("blur");
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), S_OK);
    EXPECT_EQ(std::tuple(desc.dwWidth, desc.dwHeight, desc.ddsCaps.dwCaps & (DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE)),
              std::tuple(256u, 128u, DWORD{DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE}));
    EXPECT_EQ(offscreen.device()->SetRenderTarget(surface, 0), S_OK);
    EXPECT_EQ(offscreen.device()->SetRenderTarget(offscreen.target(), 0), S_OK);

    EXPECT_EQ(texture_create_target("BLUR", 32, 32, 32, 0, 0, DDSCAPS_3DDEVICE), E_FAIL);
    EXPECT_EQ(std::tuple(texture_find("blur")->surface, texture_find("blur")->width), std::tuple(surface, 256u));
    EXPECT_EQ(texture_create_target(nullptr, 32, 32, 32, 0, 0, 0), E_INVALIDARG);
}

}  // namespace
