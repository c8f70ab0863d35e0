#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "limiter.h"
#include "loudness.h"
#include "mixdown.h"
#include "platform/audio/audio_render.h"
#include "score.h"
#include "timeline.h"

namespace {

constexpr std::int64_t kTenSeconds = 10 * soundtrack::kRate;

// Ten seconds of the drop, soundfont loading included.
void BM_SoundtrackMixdown(benchmark::State& state) {
    const soundtrack::Score score = soundtrack::score_compose(soundtrack::kBar);
    for (auto _ : state) {
        soundtrack::Stereo master;
        std::string error;
        if (!soundtrack::mixdown_render(VIRELINE_SOUNDFONT_FILE, score, kTenSeconds, &master, &error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(master.left.data());
    }
}
BENCHMARK(BM_SoundtrackMixdown)->Unit(benchmark::kMillisecond)->Iterations(3);

soundtrack::Stereo test_tone() {
    soundtrack::Stereo audio;
    audio.left.resize(static_cast<std::size_t>(kTenSeconds));
    audio.right.resize(audio.left.size());
    for (std::size_t i = 0; i < audio.left.size(); ++i) {
        audio.left[i] = 0.9f * std::sin(static_cast<float>(i) * 0.031f);
        audio.right[i] = 0.9f * std::sin(static_cast<float>(i) * 0.047f);
    }
    return audio;
}

void BM_SoundtrackLevels(benchmark::State& state) {
    const soundtrack::Stereo tone = test_tone();
    for (auto _ : state) {
        soundtrack::Stereo audio = tone;
        const std::vector<float> peaks = soundtrack::limiter_frame_peaks(audio);
        soundtrack::limiter_apply_looped(audio, peaks, 1.5f, 0.78f, soundtrack::kRate);
        benchmark::DoNotOptimize(soundtrack::loudness_integrated(audio, soundtrack::kRate));
    }
}
BENCHMARK(BM_SoundtrackLevels)->Unit(benchmark::kMillisecond);

void BM_AudioDecodeStream(benchmark::State& state) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(kTenSeconds) * 2);
    for (auto _ : state) {
        auto render = AudioRender::from_file(VIRELINE_BUILT_MUSIC, 44100, true);
        if (!render) {
            state.SkipWithError("no data/demo.mp3: build vireline_soundtrack first");
            break;
        }
        benchmark::DoNotOptimize(render->render(out.data(), static_cast<std::size_t>(kTenSeconds)));
    }
}
BENCHMARK(BM_AudioDecodeStream)->Unit(benchmark::kMillisecond);

}  // namespace
