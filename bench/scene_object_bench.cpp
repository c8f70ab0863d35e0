// Goals: a whole frame of jeep1 (7 textured meshes: animate, cull, lights, materials, draw, through
// the viewer's framing camera) on the software device at 320 × 240 well under 10 ms; finding a
// texture by name among 48 well under a microsecond.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/debug_output.h"
#include "render/offscreen_device.h"
#include "scene3ds/scene_object.h"
#include "scene_view/scene_view.h"
#include "textures/texture_manager.h"

namespace {

void BM_SceneFrame(benchmark::State& state) {
    OffscreenDevice device;
    if (FAILED(device.create(OffscreenDeviceKind::Software, 320, 240))) {
        state.SkipWithError("no software device");
        return;
    }
    device.make_current();
    SceneViewOptions options;
    options.scene_path = VIRELINE_TESTDATA_DIR "/3ds/jeep1.3ds";
    SceneObject object;
    if (!scene_view_load(&object, options)) {
        state.SkipWithError("jeep1.3ds did not load");
        return;
    }
    for (auto _ : state) scene_view_draw_frame(&object, options, 0.0f);
    object.release();
    texture_delete_all();
}

void BM_TextureFind(benchmark::State& state) {
    DebugOutputCapture quiet;
    for (int i = 0; i < 48; ++i) {
        texture_create_target(("texture" + std::to_string(i) + ".jpg").c_str(), 64, 64, 32, 8, 0, 0);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(texture_find("TEXTURE0.JPG"));  // the oldest entry: a full scan
    }
    texture_delete_all();
}

}  // namespace

BENCHMARK(BM_SceneFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextureFind);
