// The GL copies of surfaces stay in step with memory: a Lock after drawing sees the drawing, a CPU
// write before a draw reaches GL, nothing is uploaded or read back without need, the z-buffer moves
// between targets with its contents, a target sampled while drawn into is read as it was, and the pixel
// conversions between surface formats and GL words.
#include <gtest/gtest.h>

#include <cstring>

#include "gl_test_rig.h"
#include "platform/d3d/gl/gl_backend.h"
#include "platform/d3d/gl/pixel_transfer.h"

TEST(GlResidency, LockSeesDrawingAndDrawingSeesLockedWrites)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, false);
    ASSERT_TRUE(rig.ok());
    TextureCache& cache = rig.renderer()->textures();
    rig.unlit(0xFF000000);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 8, 0xFFFF0000));
    EXPECT_EQ(rig.pixel(1, 1), 0xFFFF0000u);
    const std::uint64_t readbacks = cache.readbacks();
    EXPECT_EQ(rig.pixel(6, 1), 0xFF000000u);
    EXPECT_EQ(cache.readbacks(), readbacks);  // nothing drawn since: memory is current

    // A CPU write into the right half, then blending over it: GL must see the write.
    lock_write(rig.target(), 6, 2, 1, 1, 0x000000FFu);
    IDirect3DDevice7* d = rig.device();
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(4, 0, 8, 8, 0xFF00FF00));
    EXPECT_EQ(rig.pixel(6, 2), 0xFF00FFFFu);  // written blue + drawn green
    EXPECT_EQ(rig.pixel(6, 3), 0xFF00FF00u);
    EXPECT_EQ(rig.pixel(1, 1), 0xFFFF0000u);  // the earlier drawing survived the round trip
}

TEST(GlResidency, TexturesUploadOnceAndAgainOnlyAfterACpuWrite)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 4, 4, false);
    ASSERT_TRUE(rig.ok());
    TextureCache& cache = rig.renderer()->textures();
    IDirectDrawSurface7* texture = rig.texture(4, 4, PixelKind::A8R8G8B8, [](DWORD, DWORD) { return 0xFF102030u; });
    IDirect3DDevice7* d = rig.device();
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTexture(0, texture);
    const std::uint64_t before = cache.uploads();
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    const std::uint64_t after_first = cache.uploads();
    EXPECT_EQ(rig.pixel(2, 2), 0xFF102030u);
    lock_write(texture, 0, 0, 4, 4, 0xFFA0B0C0u);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 4, 0xFFFFFFFF));
    EXPECT_EQ(rig.pixel(2, 2), 0xFFA0B0C0u);
    // The texture went up once for the two draws, and once more after the writes (the target once).
    EXPECT_LE(after_first - before, 2u);
    EXPECT_EQ(cache.uploads() - after_first, 1u);
    d->SetTexture(0, nullptr);
    texture->Release();
}

TEST(GlResidency, DepthMovesToAnotherTargetWithItsContents)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 16, 16, true);
    ASSERT_TRUE(rig.ok());
    IDirect3DDevice7* d = rig.device();
    rig.unlit(0xFF000000);
    d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 16, 16, 0xFF0000FF, 0.3f));  // depth 0.3 everywhere
    // Move the z-buffer onto an 8×8 texture target: its top-left corner keeps the depth drawn above.
    IDirectDrawSurface7* texture_target = rig.texture(8, 8, PixelKind::X8R8G8B8, nullptr, DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    ASSERT_NE(texture_target, nullptr);
    ASSERT_EQ(scene_switch_target(d, rig.target(), texture_target, rig.zbuffer(), 8, 8), D3D_OK);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 8, 8, 0xFFFF0000, 0.5f));  // behind 0.3: fails
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 4, 8, 0xFF00FF00, 0.2f));  // in front: passes
    EXPECT_EQ(rig.pixel(6, 4, texture_target), 0xFF000000u);
    EXPECT_EQ(rig.pixel(2, 4, texture_target), 0xFF00FF00u);
    // Back: the big target sees the 0.2 written through the texture target in the shared corner.
    ASSERT_EQ(scene_switch_target(d, texture_target, rig.target(), rig.zbuffer(), 16, 16), D3D_OK);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 16, 16, 0xFFFFFFFF, 0.25f));
    EXPECT_EQ(rig.pixel(2, 4), 0xFF0000FFu);   // 0.25 behind 0.2
    EXPECT_EQ(rig.pixel(12, 12), 0xFFFFFFFFu); // 0.25 in front of 0.3
    EXPECT_FLOAT_EQ(rig.depth(2, 4), 0.2f);
    texture_target->Release();
}

TEST(GlResidency, SamplingTheTargetBeingDrawnReadsItAsItWas)
{
    GlTestRig rig(IID_IDirect3DTnLHalDevice, 8, 8, false);
    ASSERT_TRUE(rig.ok());
    IDirectDrawSurface7* feedback = rig.texture(8, 8, PixelKind::X8R8G8B8, nullptr, DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE);
    IDirect3DDevice7* d = rig.device();
    ASSERT_EQ(d->SetRenderTarget(feedback, 0), D3D_OK);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060, 1.0f, 0);
    d->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    d->SetTexture(0, feedback);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    rig.draw_tl(D3DPT_TRIANGLESTRIP, tl_quad(0, 0, 8, 8, 0xFF101010));
    EXPECT_EQ(rig.pixel(3, 3, feedback), 0xFF305070u);
    d->SetTexture(0, nullptr);
    d->SetRenderTarget(rig.target(), 0);
    feedback->Release();
}

TEST(PixelTransfer, EveryColourKindRoundTripsThroughGlWords)
{
    for (PixelKind kind : {PixelKind::X8R8G8B8, PixelKind::A8R8G8B8, PixelKind::R5G6B5, PixelKind::X1R5G5B5,
                           PixelKind::A1R5G5B5, PixelKind::A4R4G4B4}) {
        const DWORD bytes = pixel_kind_bytes(kind);
        const DWORD w = 3, h = 2;
        const LONG pitch = static_cast<LONG>(w * bytes + 6);  // rows padded
        std::vector<BYTE> memory(static_cast<std::size_t>(pitch) * h, 0xEE);
        const std::uint32_t colours[6] = {0xFFFFFFFF, 0x00000000, 0x80FF0000, 0x4000FF00, 0xC00000FF, 0x12345678};
        for (DWORD i = 0; i < 6; ++i) pixel_from_argb(kind, colours[i], memory.data() + (i / w) * pitch + (i % w) * bytes);
        std::vector<std::uint32_t> words(w * h);
        pixel_rows_to_argb(kind, memory.data(), pitch, w, h, words.data());
        for (DWORD i = 0; i < 6; ++i) {
            const std::uint32_t stored = pixel_to_argb(kind, memory.data() + (i / w) * pitch + (i % w) * bytes);
            EXPECT_EQ(words[i], stored) << static_cast<int>(kind) << " pixel " << i;
            if (!pixel_kind_has_alpha(kind)) {
                EXPECT_EQ(words[i] >> 24, 0xFFu);
            }
        }
        std::vector<BYTE> back(memory.size(), 0xEE);
        pixel_rows_from_argb(kind, words.data(), w, h, back.data(), pitch);
        if (kind == PixelKind::X8R8G8B8) pixel_rows_clear_x8(back.data(), pitch, w, h);
        for (DWORD y = 0; y < h; ++y) {
            EXPECT_EQ(std::memcmp(back.data() + y * pitch, memory.data() + y * pitch, w * bytes), 0) << static_cast<int>(kind);
            EXPECT_EQ(back[y * pitch + w * bytes], 0xEE);  // padding untouched
        }
    }
}
