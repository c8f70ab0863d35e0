// Reading a 3DS scene of 50 000 triangles with full keyframer data (position, rotation and scale keys
// on every node, pivots, local axes, texture coordinates), from a file and from memory, and
// evaluating all of its nodes for one frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scene3ds/sample_scenes.h"
#include "scene3ds/keyframe_eval.h"
#include "scene3ds/load_3ds.h"
#include "scene3ds_writer/write_3ds.h"

namespace {

const std::vector<std::uint8_t>& large_file() {
    static const std::vector<std::uint8_t> bytes = write_3ds(sample_large_scene(50000, 100));
    return bytes;
}

std::string large_file_path() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "bench_scene3ds_50k.3ds").string();
        const auto& bytes = large_file();
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p;
    }();
    return path;
}

void BM_Load3dsFile(benchmark::State& state) {
    const std::string path = large_file_path();
    for (auto _ : state) {
        auto scene = load_3ds_scene(path.c_str());
        benchmark::DoNotOptimize(scene.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(large_file().size()));
}
BENCHMARK(BM_Load3dsFile)->Unit(benchmark::kMillisecond);

void BM_Load3dsMemory(benchmark::State& state) {
    const auto& bytes = large_file();
    for (auto _ : state) {
        auto scene = load_3ds_scene_memory(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(scene.get());
    }
}
BENCHMARK(BM_Load3dsMemory)->Unit(benchmark::kMillisecond);

void BM_EvaluateScene(benchmark::State& state) {
    const auto scene = load_3ds_scene_memory(large_file().data(), large_file().size());
    float t = 0.0f;
    for (auto _ : state) {
        for (SceneNode* node : scene->evaluation_order) evaluate_node(node, t);
        t = t > 400.0f ? 0.0f : t + 0.5f;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EvaluateScene)->Unit(benchmark::kMicrosecond);

}  // namespace
