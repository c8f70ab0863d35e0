// The device layer's benchmark loads (d3d_loads.h) on the software rasterizer (argument 0) and on the
// OpenGL backend (argument 1), at 640 × 480, and a fourth: 20 000 lit textured triangles of tori under
// two lights. Every frame ends with a read-back of the target (a read-only Lock), so the OpenGL figures
// include finishing the frame and bringing it to memory, as a capture or a present does.
#include <benchmark/benchmark.h>

#include "platform/d3d/gl/gl_scenes.h"
#include "d3d_loads.h"

namespace {

const GUID& device_of(const benchmark::State& state)
{
    return state.range(0) == 0 ? IID_IDirect3DRGBDevice : IID_IDirect3DTnLHalDevice;
}

void label(benchmark::State& state, double triangles)
{
    state.SetLabel(state.range(0) == 0 ? "software" : "opengl");
    state.counters["triangles/s"] = benchmark::Counter(triangles * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void run(benchmark::State& state, DWORD texture_size, Load (*make_load)(IDirect3DDevice7*))
{
    LoadTarget b(device_of(state), texture_size);
    if (!b.ok()) {
        state.SkipWithError("no device");
        return;
    }
    const Load load = make_load(b.device());
    for (auto _ : state) {
        draw_frame(b.device(), load);
        benchmark::DoNotOptimize(b.read_back());
    }
    label(state, load.triangles);
}

void BM_FullScreenTexturedAlphaQuad(benchmark::State& state) { run(state, kAlphaQuadTexture, load_alpha_quad); }
void BM_LitTexturedTriangles20k(benchmark::State& state) { run(state, kLitSpheresTexture, load_lit_spheres); }
void BM_AdditiveSphereEchoes(benchmark::State& state) { run(state, kSphereEchoesTexture, load_sphere_echoes); }

void BM_LitTexturedTori20k(benchmark::State& state)
{
    {
        LoadTarget b(device_of(state), 64);
        if (!b.ok()) {
            state.SkipWithError("no device");
            return;
        }
        SceneTarget t{b.direct_draw(), b.device(), b.target(), b.zbuffer(), 640, 480};
        int frame = 0;
        for (auto _ : state) {
            gl_scene_lit_textured(t, frame++, 20000);
            benchmark::DoNotOptimize(b.read_back());
        }
        gl_scenes_release();
    }
    label(state, 20000);
}

}  // namespace

BENCHMARK(BM_FullScreenTexturedAlphaQuad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LitTexturedTriangles20k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AdditiveSphereEchoes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LitTexturedTori20k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
