// Frames out of the program: readback widens every colour format the same way, PNG files of frames keep
// the pixels exactly (RGB frames opaque, RGBA pictures with their alpha), and bad paths, empty
// pictures and damaged files are refused with a reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture/frame_png.h"
#include "capture/frame_readback.h"
#include "capture/png_file.h"
#include "platform/d3d/core/pixel_format.h"
#include "render/offscreen_device.h"

namespace {

std::string scratch(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(VIRELINE_BINARY_DIR) / "test-scratch" / "capture";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

FrameImage gradient()
{
    FrameImage image(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) image.at(x, y) = static_cast<std::uint32_t>((x * 60) << 24 | (y * 90) << 16 | (0x1234 + x));
    }
    return image;
}

}  // namespace

TEST(PngFile, RoundTripsRgbaExactlyAndWritesFramesOpaque)
{
    const FrameImage image = gradient();
    FrameImage back;
    ASSERT_TRUE(png_write(scratch("rgba.png"), image, PngChannels::Rgba));
    ASSERT_TRUE(png_read(scratch("rgba.png"), &back));
    EXPECT_EQ(back.width, 5);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.argb, image.argb);

    ASSERT_TRUE(png_write(scratch("rgb.png"), image, PngChannels::Rgb));
    ASSERT_TRUE(png_read(scratch("rgb.png"), &back));
    for (std::size_t i = 0; i < image.argb.size(); ++i) EXPECT_EQ(back.argb[i], image.argb[i] | 0xFF000000u) << i;
}

TEST(PngFile, RefusesWhatItCannotWriteOrRead)
{
    std::string error;
    EXPECT_FALSE(png_write(scratch("empty.png"), FrameImage(), PngChannels::Rgb, &error));
    EXPECT_NE(error.find("empty.png"), std::string::npos) << error;
    FrameImage inconsistent(4, 4);
    inconsistent.argb.resize(3);
    EXPECT_FALSE(png_write(scratch("short.png"), inconsistent, PngChannels::Rgb, &error));
    EXPECT_FALSE(png_write("/no/such/folder/frame.png", gradient(), PngChannels::Rgb, &error));
    EXPECT_NE(error.find("/no/such/folder"), std::string::npos) << error;

    FrameImage image;
    EXPECT_FALSE(png_read(scratch("missing.png"), &image, &error));
    std::ofstream(scratch("garbage.png"), std::ios::binary) << "\x89PNG\r\n\x1a\n this is not a picture";
    EXPECT_FALSE(png_read(scratch("garbage.png"), &image, &error));
    // A valid file cut short.
    ASSERT_TRUE(png_write(scratch("whole.png"), gradient()));
    const auto size = std::filesystem::file_size(scratch("whole.png"));
    std::filesystem::copy_file(scratch("whole.png"), scratch("cut.png"), std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(scratch("cut.png"), size / 2);
    EXPECT_FALSE(png_read(scratch("cut.png"), &image, &error));
}

TEST(FrameReadback, WidensSixteenBitPixelsByReplicatingTheirBits)
{
    OffscreenDevice device;
    ASSERT_EQ(device.create(OffscreenDeviceKind::Software, 8, 8), D3D_OK);
    // (format, stored word, read colour): full, half and one-step channels of 5- and 6-bit formats.
    const struct {
        PixelKind kind;
        std::uint16_t word;
        std::uint32_t argb;
    } rows[] = {{PixelKind::R5G6B5, 0xF800, 0xFFFF0000u},
                {PixelKind::R5G6B5, 0x0400, 0xFF008200u},
                {PixelKind::R5G6B5, 0x0001, 0xFF000008u},
                {PixelKind::X1R5G5B5, 0x7C00, 0xFFFF0000u},
                {PixelKind::A1R5G5B5, 0x03E0, 0x0000FF00u},
                {PixelKind::A4R4G4B4, 0x8421, 0x88442211u}};
    for (const auto& row : rows) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        desc.dwWidth = 2;
        desc.dwHeight = 1;
        desc.ddpfPixelFormat = pixel_format_of(row.kind);
        IDirectDrawSurface7* surface = nullptr;
        ASSERT_EQ(device.direct_draw()->CreateSurface(&desc, &surface, nullptr), DD_OK);
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof locked;
        ASSERT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
        auto* pixels = static_cast<std::uint16_t*>(locked.lpSurface);
        pixels[0] = row.word;
        pixels[1] = 0;
        surface->Unlock(nullptr);
        FrameImage image;
        ASSERT_EQ(frame_readback(surface, &image), DD_OK);
        EXPECT_EQ(image.at(0, 0), row.argb) << static_cast<int>(row.kind) << " " << row.word;
        surface->Release();
    }
}

TEST(FramePng, WritesTheRenderedFrameAndRefusesANullSurface)
{
    OffscreenDevice device;
    ASSERT_EQ(device.create(OffscreenDeviceKind::Software, 16, 8), D3D_OK);
    D3DRECT rect{4, 2, 12, 6};
    ASSERT_EQ(device.device()->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF3366CCu, 1.0f, 0), D3D_OK);
    std::string reason;
    ASSERT_TRUE(frame_png_write(device.target(), scratch("frame.png"), &reason)) << reason;
    FrameImage shown, direct;
    ASSERT_TRUE(png_read(scratch("frame.png"), &shown));
    ASSERT_EQ(frame_readback(device.target(), &direct), DD_OK);
    EXPECT_EQ(shown.argb, direct.argb);
    EXPECT_EQ(shown.at(5, 3), 0xFF3366CCu);
    EXPECT_FALSE(frame_png_write(nullptr, scratch("none.png"), &reason));
    EXPECT_EQ(reason, "the frame could not be read back");
}
