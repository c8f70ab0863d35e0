// vireline-soundtrack: composes, renders and encodes the demo's music.
//   vireline-soundtrack --soundfont FILE.sf2 --out demo.mp3
// Prints the length, loudness, true peak and longest quiet stretch, and fails when the piece misses
// its targets (-14 LUFS ± 1, true peak below -1 dBTP, no quiet stretch over 2 s).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "limiter.h"
#include "loudness.h"
#include "mixdown.h"
#include "mp3_writer.h"
#include "score.h"
#include "seam.h"
#include "timeline.h"

using namespace soundtrack;

namespace {

constexpr double kTargetLufs = -14.0;
constexpr double kEncoderLoss = 0.3;
constexpr float kCeiling = 0.78f;  // -2.2 dBTP before encoding; the encoder's overshoot stays under -1

int usage() {
    std::fprintf(stderr, "usage: vireline-soundtrack --soundfont FILE --out FILE.mp3\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string soundfont, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--soundfont") == 0) soundfont = argv[i + 1];
        else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
        else return usage();
    }
    if (soundfont.empty() || out.empty() || argc % 2 == 0) return usage();
    const auto started = std::chrono::steady_clock::now();

    const std::int64_t length = timeline_length();
    const std::int64_t extension = kBar;
    const Score score = score_compose(extension);
    Stereo master;
    std::string error;
    if (!mixdown_render(soundfont, score, length + extension, &master, &error)) {
        std::fprintf(stderr, "vireline-soundtrack: %s\n", error.c_str());
        return 1;
    }
    seam_fold(master, length, extension);

    // Level: bring the piece to the target loudness, limit, and correct once for what the limiter took.
    const auto rendered = std::chrono::steady_clock::now();
    const std::vector<float> peaks = limiter_frame_peaks(master);
    // The encoder's low-pass takes about 0.3 LU off the loudness; aim that much higher.
    const double aim = kTargetLufs + kEncoderLoss;
    float gain = static_cast<float>(std::pow(10.0, (aim - loudness_integrated(master, kRate)) / 20.0));
    Stereo limited;
    for (int round = 0; round < 4; ++round) {
        limited = master;
        limiter_apply_looped(limited, peaks, gain, kCeiling, kRate);
        const double reached = loudness_integrated(limited, kRate);
        if (std::abs(reached - aim) < 0.05) break;
        gain *= static_cast<float>(std::pow(10.0, (aim - reached) / 20.0));
    }
    const auto levelled = std::chrono::steady_clock::now();

    const double lufs = loudness_integrated(limited, kRate);
    const double peak_db = 20.0 * std::log10(std::max(1e-9f, loudness_true_peak(limited)));
    const double silence = loudness_longest_silence(limited, kRate);
    std::vector<std::int16_t> pcm(limited.frames() * 2);
    for (std::size_t i = 0; i < limited.frames(); ++i) {
        pcm[i * 2] = static_cast<std::int16_t>(std::lround(std::clamp(limited.left[i], -1.0f, 1.0f) * 32767.0f));
        pcm[i * 2 + 1] = static_cast<std::int16_t>(std::lround(std::clamp(limited.right[i], -1.0f, 1.0f) * 32767.0f));
    }
    if (!mp3_write(out, pcm, kRate, &error)) {
        std::fprintf(stderr, "vireline-soundtrack: %s\n", error.c_str());
        return 1;
    }
    const auto done = std::chrono::steady_clock::now();
    auto seconds = [](auto from, auto to) { return std::chrono::duration<double>(to - from).count(); };
    std::printf("vireline-soundtrack: %s: %.2f s, %.2f LUFS, true peak %.2f dBTP, longest quiet %.2f s, "
                "%zu events; made in %.1f s (render %.1f, levels %.1f, checks and encoding %.1f)\n",
                out.c_str(), static_cast<double>(length) / kRate, lufs, peak_db, silence, score.events.size(),
                seconds(started, done), seconds(started, rendered), seconds(rendered, levelled), seconds(levelled, done));
    if (std::abs(lufs - kTargetLufs) > 1.0 || peak_db >= -1.0 || silence > 2.0) {
        std::fprintf(stderr, "vireline-soundtrack: the piece misses its loudness, peak or silence targets\n");
        return 1;
    }
    return 0;
}
