// Goals: every effect's per-frame update well under a millisecond (the blob, the heaviest, simulates
// 1091 vertices with normals and sphere map); one 160 × 120 frame of each effect's rig on the software
// device within a few milliseconds. The OpenGL rows run where an OpenGL device can be made.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "effects/echo_shells.h"
#include "effects/effect_rigs.h"
#include "effects/mesh_record.h"
#include "effects/shard_ring.h"
#include "effects/soft_blob.h"
#include "effects/sphere_map.h"
#include "effects/vertex_normals.h"
#include "effects/vertex_repulsor.h"
#include "effects/water_grid.h"
#include "platform/debug_output.h"
#include "render/offscreen_device.h"
#include "textures/texture_manager.h"

namespace {

const std::string& content() {
    static const std::string folder = [] {
        const std::string f = (std::filesystem::temp_directory_path() /
                               ("vireline_bench_effects_" + std::to_string(::getpid()))).string();
        rig_write_content(f, nullptr);
        return f;
    }();
    return folder;
}

void BM_SoftBlobSimulation(benchmark::State& state) {
    DebugOutputCapture quiet;
    SoftBlob blob;
    soft_blob_create(&blob, "none.tga", "none.tga");
    soft_blob_update(&blob, 1.0f);
    for (auto _ : state) {
        soft_blob_move_bumpers(&blob);
        soft_blob_simulate(&blob);
        compute_vertex_normals(blob.vertices.data(), blob.indices.data(), blob.vertex_count, blob.index_count);
        apply_sphere_map(blob.vertices.data(), blob.vertex_count);
        benchmark::DoNotOptimize(blob.vertices.data());
    }
    texture_delete_all();
}

void BM_ShardRingUpdate(benchmark::State& state) {
    const auto ring = shard_ring_create(64);
    for (auto _ : state) {
        shard_ring_update(ring.get(), RIG_STEP_SECONDS);
        benchmark::DoNotOptimize(ring->vertices.data());
    }
}

void BM_WaterWave(benchmark::State& state) {
    OffscreenDevice device;
    if (FAILED(device.create(OffscreenDeviceKind::Software, 64, 64))) {
        state.SkipWithError("no software device");
        return;
    }
    device.make_current();
    WaterGrid grid;
    water_grid_build(&grid);
    float t = 0.0f;
    for (auto _ : state) {
        water_grid_wave(&grid, t += 0.05f, 0.1f);
        apply_sphere_map(&grid);
    }
    water_grid_release(&grid);
}

void BM_RepulsorOverTheBox(benchmark::State& state) {
    DebugOutputCapture quiet;
    const std::string box = content() + "/box.3ds";
    VertexRepulsor repulsor;
    vertex_repulsor_create(&repulsor, load_mesh_white(box.c_str(), 0), load_mesh_white(box.c_str(), 0));
    if (repulsor.rest.empty()) {
        state.SkipWithError("box.3ds did not load");
        return;
    }
    for (auto _ : state) {
        vertex_repulsor_advance(&repulsor, RIG_STEP_SECONDS);
        repel_vertices(&repulsor);
        benchmark::DoNotOptimize(repulsor.deformed.vertices.data());
    }
    state.counters["vertices"] = static_cast<double>(repulsor.rest.vertex_count());
}

void BM_EchoPlasma(benchmark::State& state) {
    DebugOutputCapture quiet;
    const std::string ball = content() + "/ball.3ds";
    MeshRecord mesh = load_mesh_positioned(ball.c_str(), 0);
    EchoShells shells;
    shells.mesh = &mesh;
    for (auto _ : state) {
        echo_shells_advance(&shells, RIG_STEP_SECONDS);
        echo_shells_colour(&shells);
        for (D3DLVERTEX& v : mesh.vertices) v.color = echo_fade(v.color);
        benchmark::DoNotOptimize(mesh.vertices.data());
    }
    state.counters["vertices"] = static_cast<double>(mesh.vertex_count());
}

void effect_frame(benchmark::State& state, RigEffect effect, OffscreenDeviceKind kind) {
    OffscreenDevice device;
    if (FAILED(device.create(kind, RIG_WIDTH, RIG_HEIGHT))) {
        state.SkipWithError("the device could not be made");
        return;
    }
    device.make_current();
    {
        EffectRig rig(effect, content());
        std::string reason;
        if (!rig.build(&reason)) {
            state.SkipWithError(reason.c_str());
            return;
        }
        for (auto _ : state) {
            rig.update();
            rig.draw();
        }
    }
    device.release();
}

const bool registered = [] {
    for (const RigEffectInfo& info : rig_effects()) {
        for (auto [kind, name] : {std::pair{OffscreenDeviceKind::Software, "soft"}, {OffscreenDeviceKind::Hardware, "gl"}}) {
            benchmark::RegisterBenchmark((std::string("BM_EffectFrame/") + info.name + "/" + name).c_str(),
                                         [effect = info.effect, kind = kind](benchmark::State& s) { effect_frame(s, effect, kind); })
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace

BENCHMARK(BM_SoftBlobSimulation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShardRingUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaterWave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepulsorOverTheBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EchoPlasma)->Unit(benchmark::kMicrosecond);
