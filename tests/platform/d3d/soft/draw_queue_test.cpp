// The software device queues draws and clears and rasterises them later: everything the program does
// between two calls (writing a texture, a vertex buffer or its own vertex array, releasing a texture,
// reading the target back, drawing lines, clearing) must leave the earlier calls' pixels as if each had
// been drawn at once. Each case checks the pixels it expects and compares the queued device with one
// that draws every call at once, on two threads.
#include <gtest/gtest.h>

#include "platform/d3d/device_fixture.h"
#include "platform/d3d/soft/soft_backend.h"

namespace {

constexpr DWORD kSize = 64;

class SoftDrawQueue : public testing::Test {
protected:
    void TearDown() override { soft_backend_set_options(SoftBackendOptions{}); }

    // Runs scene on a fresh software device and returns the captured target.
    template <typename Scene>
    TestImage render(bool deferred, Scene scene, bool zbuffer)
    {
        SoftBackendOptions options;
        options.threads = 2;
        options.deferred = deferred;
        soft_backend_set_options(options);
        DeviceHarness h(IID_IDirect3DRGBDevice, kSize, kSize, zbuffer);
        EXPECT_TRUE(h.ok());
        if (!h.ok()) return TestImage();
        scene(h);
        return h.capture();
    }

    template <typename Scene>
    TestImage render_both(Scene scene, bool zbuffer = false)
    {
        const TestImage at_once = render(false, scene, zbuffer);
        const TestImage queued = render(true, scene, zbuffer);
        EXPECT_EQ(queued.argb, at_once.argb) << "queued drawing differs from drawing each call at once";
        return queued;
    }
};

void use_texture(IDirect3DDevice7* d, IDirectDrawSurface7* texture)
{
    d->SetTexture(0, texture);
    set_color_stage(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
}

TEST_F(SoftDrawQueue, ATextureWrittenBetweenDrawsKeepsItsOldPixelsForTheEarlierDraw)
{
    for (const DDPIXELFORMAT& format : {format_a8r8g8b8(), format_r5g6b5()}) {
        const TestImage image = render_both([&](DeviceHarness& h) {
            IDirect3DDevice7* d = h.device();
            ComRef<IDirectDrawSurface7> texture(h.create_texture(8, 8, std::vector<std::uint32_t>(64, 0xFFFF0000), format));
            ASSERT_TRUE(texture);
            begin_diffuse(d);
            use_texture(d, texture.get());
            draw_quad(d, 0, 0, 32, 64, 0.5f, 0xFFFFFFFF);
            ASSERT_TRUE(write_texture(texture.get(), std::vector<std::uint32_t>(64, 0xFF0000FF)));
            draw_quad(d, 32, 0, 64, 64, 0.5f, 0xFFFFFFFF);
            d->EndScene();
        });
        ASSERT_FALSE(image.argb.empty());
        EXPECT_EQ(image.at(10, 10) & 0xFFFFFF, 0xFF0000u) << "bits " << format.dwRGBBitCount;
        EXPECT_EQ(image.at(50, 10) & 0xFFFFFF, 0x0000FFu) << "bits " << format.dwRGBBitCount;
    }
}

TEST_F(SoftDrawQueue, ATextureReleasedWhileItsDrawIsQueuedIsDrawnFirst)
{
    const TestImage image = render_both([&](DeviceHarness& h) {
        IDirect3DDevice7* d = h.device();
        IDirectDrawSurface7* texture = h.create_texture(8, 8, std::vector<std::uint32_t>(64, 0xFF00FF00));
        ASSERT_NE(texture, nullptr);
        begin_diffuse(d);
        use_texture(d, texture);
        draw_quad(d, 0, 0, 64, 64, 0.5f, 0xFFFFFFFF);
        d->SetTexture(0, nullptr);
        EXPECT_EQ(texture->Release(), 0u);
        d->EndScene();
    });
    ASSERT_FALSE(image.argb.empty());
    EXPECT_EQ(image.at(30, 30) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(SoftDrawQueue, VerticesChangedAfterTheCallDoNotReachTheQueuedDraw)
{
    const TestImage image = render_both([&](DeviceHarness& h) {
        IDirect3DDevice7* d = h.device();
        D3DVERTEXBUFFERDESC desc{sizeof(D3DVERTEXBUFFERDESC), D3DVBCAPS_SYSTEMMEMORY, D3DFVF_TLVERTEX, 4};
        ComRef<IDirect3DVertexBuffer7> vb;
        ASSERT_EQ(h.d3d()->CreateVertexBuffer(&desc, vb.out(), 0), D3D_OK);
        auto fill_buffer = [&](float x0, float x1, D3DCOLOR color) {
            void* data = nullptr;
            DWORD size = 0;
            ASSERT_EQ(vb->Lock(DDLOCK_WAIT | DDLOCK_WRITEONLY, &data, &size), D3D_OK);
            screen_quad(static_cast<D3DTLVERTEX*>(data), x0, 0, x1, 32, 0.5f, color);
            vb->Unlock();
        };
        begin_diffuse(d);
        fill_buffer(0, 32, 0xFFFF0000);
        d->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, vb.get(), 0, 4, 0);
        fill_buffer(32, 64, 0xFF00FF00);
        d->DrawPrimitiveVB(D3DPT_TRIANGLESTRIP, vb.get(), 0, 4, 0);
        // The program's own array, drawn indexed and then overwritten.
        D3DTLVERTEX quad[4];
        screen_quad(quad, 0, 32, 64, 64, 0.5f, 0xFF0000FF);
        WORD indices[6] = {0, 1, 2, 2, 1, 3};
        d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0);
        screen_quad(quad, 0, 32, 64, 64, 0.5f, 0xFFFFFFFF);
        indices[1] = indices[4] = 3;
        d->EndScene();
    });
    ASSERT_FALSE(image.argb.empty());
    EXPECT_EQ(image.at(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.at(50, 10) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(image.at(30, 50) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(SoftDrawQueue, ClearsLinesReadsAndTargetSwitchesKeepTheOrderOfTheCalls)
{
    const TestImage image = render_both([&](DeviceHarness& h) {
        IDirect3DDevice7* d = h.device();
        const DDPIXELFORMAT x8 = format_x8r8g8b8();
        ComRef<IDirectDrawSurface7> other(h.create_surface(DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE, 32, 32, &x8));
        ASSERT_TRUE(other);
        begin_diffuse(d, 0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
        draw_quad(d, 0, 0, 64, 64, 0.2f, 0xFFFF0000);
        // A clear of part of the colour and depth, then a farther quad shows only there.
        D3DRECT rect{8, 8, 24, 24};
        d->Clear(1, &rect, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF202020, 1.0f, 0);
        draw_quad(d, 0, 0, 64, 64, 0.6f, 0xFF00FF00);
        // A line is drawn at once, over the quads before it and under the quad after it.
        D3DTLVERTEX line[2] = {tl_vertex(0.5f, 40.5f, 0.0f, 1.0f, 0xFF0000FF), tl_vertex(63.5f, 40.5f, 0.0f, 1.0f, 0xFF0000FF)};
        draw_tl(d, D3DPT_LINELIST, line, 2);
        draw_quad(d, 48, 32, 64, 64, 0.0f, 0xFFFFFF00);
        // The target read back mid-scene shows everything so far.
        TestImage mid;
        ASSERT_EQ(frame_readback(h.target(), &mid), DD_OK);
        EXPECT_EQ(mid.at(50, 40) & 0xFFFFFF, 0xFFFF00u);
        // Drawn into another target and back.
        ASSERT_EQ(switch_target(d, other.get()), D3D_OK);
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF00FFFF, 1.0f, 0);
        ASSERT_EQ(switch_target(d, h.target()), D3D_OK);
        d->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        use_texture(d, other.get());
        draw_quad(d, 0, 56, 8, 64, 0.0f, 0xFFFFFFFF);
        d->EndScene();
    }, true);
    ASSERT_FALSE(image.argb.empty());
    EXPECT_EQ(image.at(30, 30) & 0xFFFFFF, 0xFF0000u);  // nearer quad
    EXPECT_EQ(image.at(16, 16) & 0xFFFFFF, 0x00FF00u);  // cleared, then the farther quad
    EXPECT_EQ(image.at(30, 40) & 0xFFFFFF, 0x0000FFu);  // the line
    EXPECT_EQ(image.at(50, 40) & 0xFFFFFF, 0xFFFF00u);  // the quad over the line
    EXPECT_EQ(image.at(4, 60) & 0xFFFFFF, 0x00FFFFu);   // the other target, drawn as a texture
}

TEST_F(SoftDrawQueue, AFullQueueRunsMidFrameWithTheSamePicture)
{
    // More triangles than the queue holds (it runs after the second draw), over each other in thin strips.
    const TestImage image = render_both([&](DeviceHarness& h) {
        IDirect3DDevice7* d = h.device();
        begin_diffuse(d);
        std::vector<D3DTLVERTEX> strip;
        for (unsigned pass = 0; pass < 3; ++pass) {
            strip.clear();
            for (unsigned i = 0; i <= 70000; ++i) {
                const float x = static_cast<float>((i + 7 * pass) % 640) * 0.1f;
                const D3DCOLOR c = 0xFF000000u | ((i + pass) * 2654435761u >> 8);
                strip.push_back(tl_vertex(x, (i & 1) ? 0.0f : 64.0f, 0.5f, 1.0f, c));
            }
            d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, strip.data(), static_cast<DWORD>(strip.size()), 0);
        }
        d->EndScene();
    });
    ASSERT_FALSE(image.argb.empty());
}

}  // namespace
