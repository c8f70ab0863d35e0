// What the texture-manager tests share: a software off-screen device seen through a recording
// device whose capabilities and texture formats a test may change (to imitate hardware with
// power-of-two or square-only textures, or without 32-bit alpha formats), a scratch folder for
// pictures written as TGA files, and reading a texture's texels back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/offscreen_device.h"
#include "render/recording_device.h"

class TextureManagerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes an uncompressed 32-bit top-down TGA of 0xRRGGBBAA pixels into the scratch folder.
    void write_tga(const std::string& name, int width, int height, const std::vector<std::uint32_t>& rgba);
    // A picture of one colour.
    void write_tga(const std::string& name, int width, int height, std::uint32_t rgba) {
        write_tga(name, width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgba));
    }
    // The device's capabilities as the software device reports them, for a test to change.
    D3DDEVICEDESC7 real_caps();

    std::string folder;  // with a trailing slash; the texture directory during the test
    OffscreenDevice offscreen;
    std::unique_ptr<RecordingDevice> device;
};

struct SurfaceTexels {
    DWORD width = 0;
    DWORD height = 0;
    DDPIXELFORMAT format{};
    std::vector<std::uint32_t> texels;  // as stored (16-bit texels widened), rows top first
    std::uint32_t at(DWORD x, DWORD y) const { return texels[static_cast<std::size_t>(y) * width + x]; }
};
SurfaceTexels read_texels(IDirectDrawSurface7* surface);

DDPIXELFORMAT rgb_format(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a);
