// Capture throughput: each iteration writes 120 frames of 640 x 480 with their sound through a
// VideoWriter and closes it, so the counter "frames_per_second" covers everything the capture costs
// beyond rendering. The picture moves from frame to frame, so the encoders do real work.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "capture/audio_slicing.h"
#include "capture/video_writer.h"

namespace {

constexpr int kFrames = 120;

std::vector<FrameImage> moving_frames()
{
    std::vector<FrameImage> frames;
    for (int n = 0; n < 8; ++n) {
        FrameImage frame(640, 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                frame.at(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x + n * 7) & 0xFF) << 16 |
                                 static_cast<std::uint32_t>((y * 2 + n) & 0xFF) << 8 | static_cast<std::uint32_t>((x ^ y) & 0xFF);
        frames.push_back(std::move(frame));
    }
    return frames;
}

void capture(benchmark::State& state, const std::string& name)
{
    const std::vector<FrameImage> frames = moving_frames();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vireline-capture-bench";
    const FrameRate fps{60, 1};
    for (auto _ : state) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        VideoWriter writer;
        VideoSettings settings;
        settings.path = (dir / name).string() + (name == "frames" ? "/" : "");
        settings.fps = fps;
        if (!writer.open(settings)) {
            state.SkipWithError(writer.error().c_str());
            break;
        }
        for (int n = 0; n < kFrames; ++n) {
            const std::vector<std::int16_t> sound(static_cast<std::size_t>(audio_samples_of_frame(n, 44100, fps)) * 2, 0);
            writer.write_frame(frames[static_cast<std::size_t>(n) % frames.size()], sound);
        }
        if (!writer.close()) {
            state.SkipWithError(writer.error().c_str());
            break;
        }
    }
    std::filesystem::remove_all(dir);
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                                                             benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(capture, mp4, std::string("capture.mp4"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(capture, mkv, std::string("capture.mkv"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(capture, folder, std::string("frames"))->Unit(benchmark::kMillisecond)->UseRealTime();
