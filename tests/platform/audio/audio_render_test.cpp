// Offline rendering: gapless length, the seam of a loop, independence from the pull size, a stream
// cut mid-way, and sameness with what the output device actually played.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/audio/audio_render.h"
#include "platform/audio/bass.h"
#include "platform/audio/test_music.h"

namespace {

constexpr std::size_t kFrames = 11025;  // 0.25 s

std::vector<std::int16_t> render_all(AudioRender& render, std::size_t frames, std::size_t pull) {
    std::vector<std::int16_t> out(frames * 2);
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t got = render.render(out.data() + done * 2, std::min(pull, frames - done));
        if (got == 0) break;
        done += got;
    }
    out.resize(done * 2);
    return out;
}

std::string chord_file() {
    const std::string path = test_scratch_path("render-chord.mp3");
    if (!std::filesystem::exists(path)) test_write_mp3(path, test_chord(kFrames));
    return path;
}

TEST(AudioRender, StreamIsGaplessAndMatchesWhatWasEncoded) {
    auto render = AudioRender::from_file(chord_file().c_str(), 44100, false);
    ASSERT_NE(render, nullptr);
    const std::vector<std::int16_t> out = render_all(*render, kFrames * 2, 4096);
    ASSERT_EQ(out.size(), kFrames * 2) << "decoded length differs from the encoded one";
    // Aligned with the original (no encoder delay left in): the error stays far below the signal.
    const std::vector<std::int16_t> chord = test_chord(kFrames);
    double signal = 0;
    double error = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        signal += static_cast<double>(chord[i]) * chord[i];
        error += (static_cast<double>(out[i]) - chord[i]) * (static_cast<double>(out[i]) - chord[i]);
    }
    EXPECT_GT(10.0 * std::log10(signal / error), 20.0);
}

TEST(AudioRender, LoopRepeatsTheStartExactlyWithoutAJumpAtTheSeam) {
    auto render = AudioRender::from_file(chord_file().c_str(), 44100, true);
    ASSERT_NE(render, nullptr);
    const std::vector<std::int16_t> out = render_all(*render, kFrames * 3, 1000);
    ASSERT_EQ(out.size(), kFrames * 3 * 2);
    for (std::size_t pass = 1; pass < 3; ++pass)
        EXPECT_TRUE(std::equal(out.begin(), out.begin() + kFrames * 2, out.begin() + pass * kFrames * 2)) << pass;
    // The chord is whole cycles long, so across the seam the wave goes on as anywhere inside.
    for (std::size_t channel = 0; channel < 2; ++channel) {
        int largest_step = 0;
        for (std::size_t i = 1; i < kFrames; ++i)
            largest_step = std::max(largest_step, std::abs(out[i * 2 + channel] - out[(i - 1) * 2 + channel]));
        const int seam_step = std::abs(out[kFrames * 2 + channel] - out[(kFrames - 1) * 2 + channel]);
        EXPECT_LE(seam_step, largest_step * 5 / 4 + 50) << "channel " << channel;
    }
}

TEST(AudioRender, FramesDoNotDependOnThePullSize) {
    std::vector<std::vector<std::int16_t>> runs;
    for (const std::size_t pull : {std::size_t{1}, std::size_t{333}, std::size_t{65536}}) {
        auto render = AudioRender::from_file(chord_file().c_str(), 44100, true);
        ASSERT_NE(render, nullptr);
        runs.push_back(render_all(*render, kFrames * 2 + 77, pull));
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0], runs[2]);
}

TEST(AudioRender, StreamCutMidWayPlaysAsFarAsItDecodes) {
    std::vector<std::uint8_t> bytes = test_read_bytes(chord_file());
    bytes.resize(bytes.size() / 2);
    const std::string path = test_scratch_path("render-half.mp3");
    ASSERT_TRUE(test_write_bytes(path, bytes));
    auto full = AudioRender::from_file(chord_file().c_str(), 44100, false);
    auto half = AudioRender::from_file(path.c_str(), 44100, false);
    ASSERT_NE(half, nullptr);
    const std::vector<std::int16_t> a = render_all(*full, kFrames, 4096);
    const std::vector<std::int16_t> b = render_all(*half, kFrames, 4096);
    EXPECT_GT(b.size(), a.size() * 3 / 10);
    EXPECT_LT(b.size(), a.size() * 7 / 10);
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(a.size() * 3 / 10), b.begin()));
}

TEST(AudioRender, JunkInsideAStreamIsSkippedWhereTheDecoderResyncsElseThePlayStopsThere) {
    const std::vector<std::uint8_t> clean = test_read_bytes(chord_file());
    struct Case {
        std::size_t junk;
        std::size_t min_frames, max_frames;
    };
    // Short junk: the decoder finds the next frame and goes on. Junk longer than its search limit
    // (1024 bytes): the stream ends where the junk starts, about half way.
    for (const Case& c : {Case{400, kFrames * 8 / 10, kFrames}, Case{3000, kFrames * 3 / 10, kFrames * 7 / 10}}) {
        SCOPED_TRACE(c.junk);
        std::vector<std::uint8_t> bytes = clean;
        std::vector<std::uint8_t> junk(c.junk);
        for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<std::uint8_t>(i * 7 + 3);
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2), junk.begin(), junk.end());
        const std::string path = test_scratch_path("render-junk.mp3");
        ASSERT_TRUE(test_write_bytes(path, bytes));
        auto render = AudioRender::from_file(path.c_str(), 44100, false);
        ASSERT_NE(render, nullptr);
        const std::vector<std::int16_t> out = render_all(*render, kFrames * 2, 4096);
        EXPECT_GE(out.size() / 2, c.min_frames);
        EXPECT_LE(out.size() / 2, c.max_frames);
        // No burst of noise from the junk: nothing louder than the chord itself.
        int loudest = 0;
        for (const std::int16_t s : out) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
        EXPECT_LT(loudest, 10000);
    }
}

std::atomic<int> ends{0};
void count_end(HSYNC, DWORD, DWORD, DWORD) { ++ends; }

TEST(AudioRender, EqualsWhatTheOutputPlayed) {
    const std::string capture = test_scratch_path("capture.raw");
    std::remove(capture.c_str());
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    const bool opened = BASS_Init(-1, 44100, 0, nullptr);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(opened) << BASS_ErrorGetCode();
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, chord_file().c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ends = 0;
    BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, count_end, 0);
    BASS_Start();
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    auto render = AudioRender::from_channel(stream);
    ASSERT_NE(render, nullptr);
    EXPECT_TRUE(test_wait_for([] { return ends >= 3; }, 15.0));
    BASS_Free();

    const std::vector<std::uint8_t> raw = test_read_bytes(capture);
    std::vector<std::int16_t> played(raw.size() / 2);
    std::memcpy(played.data(), raw.data(), played.size() * 2);
    const std::vector<std::int16_t> expected = render_all(*render, kFrames * 3, 4096);
    // The device played silence until the stream started; the music then runs on sample for sample.
    const auto first = std::find_if(played.begin(), played.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_NE(first, played.end());
    const std::size_t start = static_cast<std::size_t>(first - played.begin()) & ~std::size_t{1};
    const auto lead = std::find_if(expected.begin(), expected.end(), [](std::int16_t s) { return s != 0; });
    const std::size_t lead_zeros = static_cast<std::size_t>(lead - expected.begin()) & ~std::size_t{1};
    ASSERT_GE(start, lead_zeros);
    const std::size_t from = start - lead_zeros;
    ASSERT_GE(played.size() - from, kFrames * 3 * 2) << "fewer than three passes captured";
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), played.begin() + static_cast<std::ptrdiff_t>(from)));
}

}  // namespace
