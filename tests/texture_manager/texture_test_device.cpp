#include "texture_manager/texture_test_device.h"

#include <cstdio>
#include <filesystem>

#include "textures/texture_manager.h"

void TextureManagerTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string(VIRELINE_BINARY_DIR) + "/test-scratch/texture_manager/" + info->name() + "/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::string reason;
    ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, 64, 64, &reason), S_OK) << reason;
    offscreen.make_current();
    device = std::make_unique<RecordingDevice>(offscreen.device());
    current_device = device.get();
    texture_set_directory(folder.c_str());
}

void TextureManagerTest::TearDown() {
    texture_delete_all();
    texture_set_directory(nullptr);
    current_device = offscreen.device();
    device.reset();
    offscreen.release();
}

void TextureManagerTest::write_tga(const std::string& name, int width, int height,
                                   const std::vector<std::uint32_t>& rgba) {
    std::FILE* file = std::fopen((folder + name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    unsigned char header[18] = {};
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<unsigned char>(width & 0xFF);
    header[13] = static_cast<unsigned char>(width >> 8);
    header[14] = static_cast<unsigned char>(height & 0xFF);
    header[15] = static_cast<unsigned char>(height >> 8);
    header[16] = 32;
    header[17] = 0x28;  // top-down rows, 8 alpha bits
    std::fwrite(header, 1, sizeof header, file);
    for (std::uint32_t pixel : rgba) {
        const unsigned char bgra[4] = {static_cast<unsigned char>(pixel >> 8), static_cast<unsigned char>(pixel >> 16),
                                       static_cast<unsigned char>(pixel >> 24), static_cast<unsigned char>(pixel)};
        std::fwrite(bgra, 1, 4, file);
    }
    std::fclose(file);
}

D3DDEVICEDESC7 TextureManagerTest::real_caps() {
    D3DDEVICEDESC7 caps{};
    offscreen.device()->GetCaps(&caps);
    return caps;
}

SurfaceTexels read_texels(IDirectDrawSurface7* surface) {
    SurfaceTexels out;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return out;
    out.width = locked.dwWidth;
    out.height = locked.dwHeight;
    out.format = locked.ddpfPixelFormat;
    for (DWORD y = 0; y < locked.dwHeight; ++y) {
        const auto* row = static_cast<const BYTE*>(locked.lpSurface) + static_cast<std::ptrdiff_t>(y) * locked.lPitch;
        for (DWORD x = 0; x < locked.dwWidth; ++x) {
            if (locked.ddpfPixelFormat.dwRGBBitCount == 32) {
                out.texels.push_back(reinterpret_cast<const std::uint32_t*>(row)[x]);
            } else {
                out.texels.push_back(reinterpret_cast<const std::uint16_t*>(row)[x]);
            }
        }
    }
    surface->Unlock(nullptr);
    return out;
}

DDPIXELFORMAT rgb_format(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    format.dwFlags = DDPF_RGB | (a != 0 ? DDPF_ALPHAPIXELS : 0);
    format.dwRGBBitCount = bits;
    format.dwRBitMask = r;
    format.dwGBitMask = g;
    format.dwBBitMask = b;
    format.dwRGBAlphaBitMask = a;
    return format;
}
