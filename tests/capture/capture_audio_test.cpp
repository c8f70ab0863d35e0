// The sound of a capture frame by frame: silence of the right length without music, silence after a
// piece that does not loop, a looping piece going on, and a click encoded in an MP3 at a known sample
// arriving at that same sample in the frames and in the captured files (no decoder delay or padding
// left in, no offset added).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "capture/audio_slicing.h"
#include "capture/capture_audio.h"
#include "capture/capture_media.h"
#include "capture/video_writer.h"
#include "platform/audio/audio_render.h"

namespace {

constexpr std::int64_t kClick = 30011;  // frame 40 at 60000/1001 fps, 581 samples in

// A quiet hum with one loud click (left channel positive, right negative) at sample kClick, encoded
// as a 44.1 kHz MP3 by the ffmpeg program through LAME (which tags the file with its delay and padding).
std::string click_mp3(std::int64_t frames, const std::string& name)
{
    const std::string raw = capture_scratch(name + ".raw");
    const std::string mp3 = capture_scratch(name + ".mp3");
    std::vector<std::int16_t> samples = test_tone(0, frames);
    for (auto& s : samples) s = static_cast<std::int16_t>(s / 16);
    if (kClick < frames) {
        samples[kClick * 2] = 30000;
        samples[kClick * 2 + 1] = -30000;
    }
    std::FILE* f = std::fopen(raw.c_str(), "wb");
    std::fwrite(samples.data(), 2, samples.size(), f);
    std::fclose(f);
    int status = 0;
    run_command(std::string(VIRELINE_FFMPEG) + " -v error -f s16le -ar 44100 -ac 2 -i " + quoted(raw) +
                " -c:a libmp3lame -b:a 192k " + quoted(mp3), &status);
    EXPECT_EQ(status, 0) << "ffmpeg could not make " << mp3;
    return mp3;
}

std::int64_t loudest_left(const std::vector<std::int16_t>& samples)
{
    std::int64_t best = -1;
    int level = 0;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] > level) {
            level = samples[i];
            best = static_cast<std::int64_t>(i / 2);
        }
    }
    return best;
}

std::vector<std::int16_t> gather(CaptureAudio& audio, std::int64_t frames, std::vector<std::vector<std::int16_t>>* each = nullptr)
{
    std::vector<std::int16_t> all;
    for (std::int64_t n = 0; n < frames; ++n) {
        const std::vector<std::int16_t>& s = audio.next_frame();
        all.insert(all.end(), s.begin(), s.end());
        if (each != nullptr) each->push_back(s);
    }
    return all;
}

}  // namespace

TEST(CaptureAudio, WithoutMusicEveryFrameGetsItsShareOfSilence)
{
    const FrameRate fps{60000, 1001};
    CaptureAudio audio(nullptr, fps);
    EXPECT_EQ(audio.sample_rate(), 44100);
    for (std::int64_t n = 0; n < 200; ++n) {
        const std::vector<std::int16_t>& s = audio.next_frame();
        ASSERT_EQ(static_cast<std::int64_t>(s.size()), 2 * audio_samples_of_frame(n, 44100, fps)) << n;
        ASSERT_TRUE(std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v == 0; }));
    }
    EXPECT_EQ(audio.frame(), 200);
}

TEST(CaptureAudio, AClickInTheMusicLandsOnItsOwnSampleInTheFramesAndInTheFiles)
{
    const FrameRate fps{60000, 1001};
    const std::string mp3 = click_mp3(44100, "click");
    auto music = AudioRender::from_file(mp3.c_str(), 44100, true);
    ASSERT_NE(music, nullptr);
    CaptureAudio audio(std::move(music), fps);
    const std::int64_t frames = 60;
    std::vector<std::vector<std::int16_t>> each;
    const std::vector<std::int16_t> all = gather(audio, frames, &each);
    ASSERT_EQ(static_cast<std::int64_t>(all.size()), 2 * audio_samples_before_frame(frames, 44100, fps));
    EXPECT_EQ(loudest_left(all), kClick);
    EXPECT_LT(all[kClick * 2 + 1], -20000) << "the channels are swapped or the click smeared";

    // Through the writer: exact in the lossless master; in the MP4 the AAC priming is trimmed away.
    for (const char* name : {"click.mkv", "click.mp4"}) {
        SCOPED_TRACE(name);
        VideoSettings s;
        s.path = capture_scratch(name);
        s.fps = fps;
        s.frame_width = 64;
        s.frame_height = 48;
        VideoWriter writer;
        ASSERT_TRUE(writer.open(s)) << writer.error();
        for (std::int64_t n = 0; n < frames; ++n) ASSERT_TRUE(writer.write_frame(FrameImage(64, 48), each[static_cast<std::size_t>(n)]));
        ASSERT_TRUE(writer.close()) << writer.error();
        const std::vector<std::int16_t> sound = decode_sound(s.path);
        if (std::string(name) == "click.mkv") {
            EXPECT_EQ(sound, all);
        } else {
            EXPECT_NEAR(static_cast<double>(loudest_left(sound)), static_cast<double>(kClick), 2.0);
        }
    }
}

TEST(CaptureAudio, APieceThatDoesNotLoopGoesSilentAndALoopGoesOn)
{
    const FrameRate fps{60, 1};
    const std::string mp3 = click_mp3(4410, "short");  // 0.1 s: six frames of music
    for (const bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "loop" : "once");
        auto music = AudioRender::from_file(mp3.c_str(), 44100, loop);
        ASSERT_NE(music, nullptr);
        CaptureAudio audio(std::move(music), fps);
        const std::vector<std::int16_t> all = gather(audio, 30, nullptr);
        ASSERT_EQ(all.size(), 30u * 735 * 2);
        EXPECT_EQ(audio.music_ended(), !loop);
        const auto heard = [&](std::size_t from, std::size_t to) {
            return std::any_of(all.begin() + static_cast<std::ptrdiff_t>(from * 2), all.begin() + static_cast<std::ptrdiff_t>(to * 2),
                               [](std::int16_t v) { return std::abs(v) > 100; });
        };
        EXPECT_TRUE(heard(0, 4410));
        EXPECT_EQ(heard(4410, 30 * 735), loop);
    }
}
