// Throughput of the device layer's software backend on the demo's representative loads (d3d_loads.h), in
// triangles and pixels per second. Each runs on the default thread count (argument 0) and on one thread
// (argument 1). "pixels" counts the pixels rasterised per frame (before depth rejection), measured once
// by drawing the same geometry additively with depth off.
#include <benchmark/benchmark.h>

#include "d3d_loads.h"
#include "capture/frame_readback.h"
#include "platform/d3d/soft/soft_backend.h"

namespace {

// Chooses the software backend's thread count for the devices made while it is the latest choice.
struct SoftThreads {
    explicit SoftThreads(unsigned threads) { soft_backend_set_options(SoftBackendOptions{threads, true}); }
};

// A software device on one thread (argument 1) or the default count (argument 0).
struct SoftTarget {
    SoftTarget(const benchmark::State& state, DWORD texture_size)
        : threads(state.range(0) == 1 ? 1u : 0u), target(IID_IDirect3DRGBDevice, texture_size)
    {
        soft_backend_set_options(SoftBackendOptions{});
    }

    // Pixels the load's geometry rasterises: each adds 1 to blue.
    double count_pixels(const Load& load)
    {
        IDirect3DDevice7* device = target.device();
        DWORD block = 0;
        device->CreateStateBlock(D3DSBT_ALL, &block);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
        device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x00000001);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
        device->BeginScene();
        load.draw();
        device->EndScene();
        device->ApplyStateBlock(block);
        device->DeleteStateBlock(block);
        FrameImage image;
        frame_readback(target.target(), &image);
        double pixels = 0;
        for (std::uint32_t p : image.argb) pixels += p & 0xFF;
        return pixels;
    }

    SoftThreads threads;
    LoadTarget target;
};

void run(benchmark::State& state, DWORD texture_size, Load (*make_load)(IDirect3DDevice7*))
{
    SoftTarget t(state, texture_size);
    const Load load = make_load(t.target.device());
    const double pixels = t.count_pixels(load);
    for (auto _ : state) draw_frame(t.target.device(), load);
    state.counters["triangles/s"] =
        benchmark::Counter(load.triangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels/s"] = benchmark::Counter(pixels * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FullScreenTexturedAlphaQuad(benchmark::State& state) { run(state, kAlphaQuadTexture, load_alpha_quad); }
void BM_LitTexturedTriangles20k(benchmark::State& state) { run(state, kLitSpheresTexture, load_lit_spheres); }
void BM_AdditiveSphereEchoes(benchmark::State& state) { run(state, kSphereEchoesTexture, load_sphere_echoes); }

}  // namespace

BENCHMARK(BM_FullScreenTexturedAlphaQuad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LitTexturedTriangles20k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdditiveSphereEchoes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
