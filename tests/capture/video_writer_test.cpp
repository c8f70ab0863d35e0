// Video capture end to end, read back by ffprobe and ffmpeg: MP4 at 60 and 60000/1001 fps with every
// frame present once and in order, stamped n·den/num, flagged BT.601 limited range, its index in front
// and its sound aligned; Matroska lossless in pictures and sound; the folder form's numbered PNGs and
// WAV; outputs closed after no frame or one; padding; and the mistakes refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "capture/audio_slicing.h"
#include "capture/capture_media.h"
#include "capture/png_file.h"
#include "capture/video_writer.h"

namespace {

VideoSettings small(const std::string& path, FrameRate fps)
{
    VideoSettings s;
    s.path = path;
    s.fps = fps;
    s.frame_width = 160;
    s.frame_height = 120;
    return s;
}

// Writes frames test frames with the tone; returns what close() said.
bool write_capture(VideoWriter& writer, std::int64_t frames)
{
    const VideoSettings& s = writer.settings();
    const auto tone = test_tone_frames(frames, s.fps);
    for (std::int64_t n = 0; n < frames; ++n) {
        if (!writer.write_frame(test_frame(s.frame_width, s.frame_height, n), tone[static_cast<std::size_t>(n)])) {
            ADD_FAILURE() << writer.error();
            return false;
        }
    }
    const bool closed = writer.close();
    EXPECT_TRUE(closed) << writer.error();
    return closed;
}

std::string stream_field(const std::map<std::string, std::string>& p, const std::string& type, const std::string& key)
{
    for (int i = 0; i < 4; ++i) {
        const std::string prefix = "streams.stream." + std::to_string(i) + ".";
        const auto t = p.find(prefix + "codec_type");
        if (t != p.end() && t->second == type) {
            const auto v = p.find(prefix + key);
            return v == p.end() ? "" : v->second;
        }
    }
    return "";
}

// The top-level boxes of an MP4 file, in order.
std::vector<std::string> mp4_boxes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> boxes;
    unsigned char h[16];
    while (in.read(reinterpret_cast<char*>(h), 8)) {
        std::uint64_t size = static_cast<std::uint64_t>(h[0]) << 24 | h[1] << 16 | h[2] << 8 | h[3];
        boxes.emplace_back(reinterpret_cast<char*>(h + 4), 4);
        std::uint64_t header = 8;
        if (size == 1) {
            if (!in.read(reinterpret_cast<char*>(h + 8), 8)) break;
            size = 0;
            for (int i = 8; i < 16; ++i) size = size << 8 | h[i];
            header = 16;
        }
        if (size < header) break;
        in.seekg(static_cast<std::streamoff>(size - header), std::ios::cur);
    }
    return boxes;
}

// "num/den" as a number.
double av_ratio(const std::string& text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return 0;
    return std::stod(text.substr(0, slash)) / std::stod(text.substr(slash + 1));
}

// Signal to noise ratio of a against the reference b over their common length, in dB.
double snr_db(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, std::size_t from)
{
    double signal = 0;
    double noise = 0;
    for (std::size_t i = from; i < std::min(a.size(), b.size()); ++i) {
        signal += static_cast<double>(b[i]) * b[i];
        noise += (static_cast<double>(a[i]) - b[i]) * (static_cast<double>(a[i]) - b[i]);
    }
    return 10.0 * std::log10(signal / std::max(noise, 1.0));
}

}  // namespace

TEST(VideoWriter, Mp4HoldsEveryFrameOnceInOrderAtItsExactTimeWithBt601FlagsAndTheSound)
{
    for (const FrameRate fps : {FrameRate{60, 1}, FrameRate{60000, 1001}}) {
        SCOPED_TRACE(fps.text());
        const std::string path = capture_scratch("tone-" + std::to_string(fps.num) + ".mp4");
        const std::int64_t frames = video_frame_count(2.0, fps);
        VideoWriter writer;
        ASSERT_TRUE(writer.open(small(path, fps))) << writer.error();
        ASSERT_TRUE(write_capture(writer, frames));
        EXPECT_EQ(writer.frames(), frames);
        EXPECT_EQ(writer.bytes(), std::filesystem::file_size(path));

        const auto p = probe(path);
        ASSERT_FALSE(p.empty()) << "ffprobe refused " << path;
        EXPECT_EQ(stream_field(p, "video", "codec_name"), "h264");
        EXPECT_EQ(stream_field(p, "video", "nb_read_frames"), std::to_string(frames));
        EXPECT_EQ(stream_field(p, "video", "width"), "160");
        EXPECT_EQ(stream_field(p, "video", "height"), "120");
        EXPECT_EQ(stream_field(p, "video", "pix_fmt"), "yuv420p");
        EXPECT_EQ(stream_field(p, "video", "color_range"), "tv");
        EXPECT_EQ(stream_field(p, "video", "color_space"), "smpte170m");
        EXPECT_EQ(stream_field(p, "video", "color_primaries"), "smpte170m");
        EXPECT_EQ(stream_field(p, "video", "color_transfer"), "smpte170m");
        EXPECT_EQ(stream_field(p, "video", "avg_frame_rate"), std::to_string(fps.num) + "/" + std::to_string(fps.den));
        EXPECT_EQ(stream_field(p, "audio", "codec_name"), "aac");
        EXPECT_EQ(stream_field(p, "audio", "sample_rate"), "44100");
        EXPECT_EQ(stream_field(p, "audio", "channels"), "2");
        // The sound lasts as long as the samples given, within a frame of the pictures.
        const std::int64_t samples = audio_samples_before_frame(frames, 44100, fps);
        EXPECT_EQ(stream_field(p, "audio", "duration_ts"), std::to_string(samples));
        const double video_seconds = static_cast<double>(frames) / fps.fps();
        EXPECT_NEAR(std::stod(stream_field(p, "audio", "duration")), video_seconds, 1.0 / fps.fps());

        // The index sits before the media (faststart).
        const std::vector<std::string> boxes = mp4_boxes(path);
        const auto moov = std::find(boxes.begin(), boxes.end(), "moov");
        const auto mdat = std::find(boxes.begin(), boxes.end(), "mdat");
        ASSERT_NE(moov, boxes.end());
        ASSERT_NE(mdat, boxes.end());
        EXPECT_LT(moov, mdat);

        // Every frame once, in order, at n·den/num seconds.
        const std::vector<FrameImage> decoded = decode_frames(path, 160, 120);
        ASSERT_EQ(static_cast<std::int64_t>(decoded.size()), frames);
        for (std::int64_t n = 0; n < frames; ++n)
            ASSERT_EQ(test_frame_number(decoded[static_cast<std::size_t>(n)]), n) << "decoded frame " << n;
        const std::vector<double> times = probe_frame_times(path);
        ASSERT_EQ(static_cast<std::int64_t>(times.size()), frames);
        for (std::int64_t n = 0; n < frames; ++n)
            ASSERT_NEAR(times[static_cast<std::size_t>(n)], static_cast<double>(n) / fps.fps(), 0.0005) << "frame " << n;

        // The sound starts with the first frame: the decoded tone lines up with what was given.
        // (The ffmpeg program trims the encoder's priming but decodes the last AAC block whole.)
        const std::vector<std::int16_t> sound = decode_sound(path);
        const std::vector<std::int16_t> tone = test_tone(0, samples);
        EXPECT_GE(sound.size(), tone.size());
        EXPECT_LE(sound.size(), tone.size() + 2 * 1024);
        EXPECT_GT(snr_db(sound, tone, 4096), 20.0);
    }
}

TEST(VideoWriter, MkvIsLosslessInPicturesAndSound)
{
    const FrameRate fps{60000, 1001};
    const std::string path = capture_scratch("master.mkv");
    const std::int64_t frames = 45;
    VideoWriter writer;
    ASSERT_TRUE(writer.open(small(path, fps))) << writer.error();
    ASSERT_TRUE(write_capture(writer, frames));

    const auto p = probe(path);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.at("format.format_name"), "matroska,webm");
    EXPECT_EQ(stream_field(p, "video", "codec_name"), "ffv1");
    EXPECT_EQ(stream_field(p, "video", "pix_fmt"), "bgr0");
    EXPECT_EQ(stream_field(p, "video", "nb_read_frames"), std::to_string(frames));
    // Matroska keeps times in milliseconds and the frame duration in nanoseconds: the rate and the
    // times come back as close as that allows.
    EXPECT_NEAR(av_ratio(stream_field(p, "video", "avg_frame_rate")), fps.fps(), 1e-5);
    const std::vector<double> times = probe_frame_times(path);
    ASSERT_EQ(static_cast<std::int64_t>(times.size()), frames);
    for (std::int64_t n = 0; n < frames; ++n)
        EXPECT_NEAR(times[static_cast<std::size_t>(n)], static_cast<double>(n) / fps.fps(), 0.00051) << "frame " << n;
    EXPECT_EQ(stream_field(p, "audio", "codec_name"), "flac");
    EXPECT_EQ(stream_field(p, "audio", "sample_rate"), "44100");

    const std::vector<FrameImage> decoded = decode_frames(path, 160, 120);
    ASSERT_EQ(static_cast<std::int64_t>(decoded.size()), frames);
    for (std::int64_t n = 0; n < frames; ++n)
        ASSERT_EQ(decoded[static_cast<std::size_t>(n)].argb, test_frame(160, 120, n).argb) << "frame " << n;
    EXPECT_EQ(decode_sound(path), test_tone(0, audio_samples_before_frame(frames, 44100, fps)));
}

TEST(VideoWriter, FolderHoldsNumberedPngsEqualToTheFramesAndTheSoundAsWav)
{
    const FrameRate fps{50, 1};
    const std::string folder = capture_scratch("frames") + "/";
    const std::int64_t frames = 4;
    VideoWriter writer;
    ASSERT_TRUE(writer.open(small(folder, fps))) << writer.error();
    EXPECT_EQ(writer.form(), VideoForm::folder);
    ASSERT_TRUE(write_capture(writer, frames));

    std::vector<std::string> names;
    std::uint64_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
        bytes += entry.file_size();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"000000.png", "000001.png", "000002.png", "000003.png", "audio.wav"}));
    EXPECT_EQ(writer.bytes(), bytes);
    for (std::int64_t n = 0; n < frames; ++n) {
        FrameImage image;
        ASSERT_TRUE(png_read(folder + names[static_cast<std::size_t>(n)], &image));
        EXPECT_EQ(image.argb, test_frame(160, 120, n).argb) << names[static_cast<std::size_t>(n)];
    }
    const auto p = probe(folder + "audio.wav");
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(stream_field(p, "audio", "codec_name"), "pcm_s16le");
    EXPECT_EQ(stream_field(p, "audio", "channels"), "2");
    EXPECT_EQ(stream_field(p, "audio", "sample_rate"), "44100");
    EXPECT_EQ(decode_sound(folder + "audio.wav"), test_tone(0, 4 * 882));

    // A second capture into the same folder would mix with this one.
    VideoWriter again;
    EXPECT_FALSE(again.open(small(folder, fps)));
    EXPECT_NE(again.error().find("already holds a capture"), std::string::npos) << again.error();
}

TEST(VideoWriter, ClosingAfterNoFrameOrOneLeavesAValidOutput)
{
    for (const char* ending : {".mp4", ".mkv", "/"}) {
        for (const std::int64_t frames : {0, 1}) {
            SCOPED_TRACE(std::string(ending) + " after " + std::to_string(frames));
            const std::string path = capture_scratch("short-" + std::to_string(frames) + (ending[0] == '/' ? "" : ending + 1)) +
                                     (ending[0] == '/' ? "/" : ending);
            VideoWriter writer;
            ASSERT_TRUE(writer.open(small(path, FrameRate{30, 1}))) << writer.error();
            ASSERT_TRUE(write_capture(writer, frames));
            if (ending[0] == '/') {
                EXPECT_EQ(std::filesystem::exists(path + "000000.png"), frames == 1);
                const auto p = probe(path + "audio.wav");
                ASSERT_FALSE(p.empty());
                EXPECT_EQ(decode_sound(path + "audio.wav").size(), static_cast<std::size_t>(frames * 1470 * 2));
            } else {
                const auto p = probe(path);
                ASSERT_FALSE(p.empty()) << "ffprobe refused " << path;
                // With no frame, FFmpeg's MP4 muxer leaves the empty tracks out; Matroska keeps them.
                const std::string counted = stream_field(p, "video", "nb_read_frames");
                EXPECT_EQ(counted.empty() || counted == "N/A" ? "0" : counted, std::to_string(frames));
                const bool mkv = ending == std::string(".mkv");
                if (frames == 1 || mkv) {
                    EXPECT_EQ(stream_field(p, "video", "codec_name"), mkv ? "ffv1" : "h264");
                }
                EXPECT_EQ(decode_frames(path, 160, 120).size(), static_cast<std::size_t>(frames));
            }
        }
    }
}

TEST(VideoWriter, PaddingCentresTheFrameOnBlack)
{
    // Lossless forms, exactly; an odd difference leaves the extra column and row right and below.
    for (const char* ending : {".mkv", "/"}) {
        SCOPED_TRACE(ending);
        const bool folder = ending[0] == '/';
        const std::string path = capture_scratch(folder ? "padded" : "padded.mkv") + (folder ? "/" : "");
        VideoSettings s = small(path, FrameRate{60, 1});
        s.frame_width = 101;
        s.frame_height = 61;
        s.width = 160;
        s.height = 120;
        VideoWriter writer;
        ASSERT_TRUE(writer.open(s)) << writer.error();
        const FrameImage frame = test_frame(101, 61, 7);
        ASSERT_TRUE(writer.write_frame(frame, std::vector<std::int16_t>(1470)));
        ASSERT_TRUE(writer.close()) << writer.error();
        FrameImage out;
        if (folder) {
            ASSERT_TRUE(png_read(path + "000000.png", &out));
        } else {
            const auto frames = decode_frames(path, 160, 120);
            ASSERT_EQ(frames.size(), 1u);
            out = frames[0];
        }
        ASSERT_EQ(out.width, 160);
        ASSERT_EQ(out.height, 120);
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 160; ++x) {
                const bool inside = x >= 29 && x < 130 && y >= 29 && y < 90;
                const std::uint32_t expected = inside ? frame.at(x - 29, y - 29) : 0xFF000000u;
                ASSERT_EQ(out.at(x, y), expected) << x << "," << y;
            }
        }
    }
    // H.264: a grey 4:3 frame pillarboxed into 16:9.
    const std::string path = capture_scratch("padded.mp4");
    VideoSettings s = small(path, FrameRate{60, 1});
    s.width = 214;
    s.height = 120;
    VideoWriter writer;
    ASSERT_TRUE(writer.open(s)) << writer.error();
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(writer.write_frame(FrameImage(160, 120, 0xFF808080u), std::vector<std::int16_t>(1470)));
    ASSERT_TRUE(writer.close()) << writer.error();
    const auto frames = decode_frames(path, 214, 120);
    ASSERT_EQ(frames.size(), 3u);
    for (const int x : {0, 20, 25, 188, 193, 213}) EXPECT_LT(frames[2].at(x, 60) & 0xFF, 12u) << "bar at " << x;
    for (const int x : {30, 107, 184}) EXPECT_NEAR(static_cast<int>(frames[2].at(x, 60) & 0xFF), 0x80, 4) << "picture at " << x;
}

TEST(VideoWriter, MistakesAreRefusedWithAReason)
{
    const FrameRate fps{60, 1};
    struct Case {
        const char* what;
        VideoSettings settings;
        const char* reason;
    };
    VideoSettings odd = small(capture_scratch("odd.mp4"), fps);
    odd.width = 161;
    VideoSettings smaller = small(capture_scratch("smaller.mkv"), fps);
    smaller.width = 100;
    VideoSettings bad_rate = small(capture_scratch("rate.mp4"), FrameRate{0, 1});
    VideoSettings bad_queue = small(capture_scratch("queue.mp4"), fps);
    bad_queue.queue_frames = 0;
    const Case cases[] = {
        {"unknown form", small(capture_scratch("capture.avi"), fps), ".mp4"},
        {"no such folder", small("/no/such/folder/capture.mp4", fps), "cannot create /no/such/folder/capture.mp4"},
        {"odd size for H.264", odd, "even width and height"},
        {"output smaller than the frame", smaller, "must hold"},
        {"bad frame rate", bad_rate, "frame rate"},
        {"bad queue", bad_queue, "queue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VideoWriter writer;
        EXPECT_FALSE(writer.open(c.settings));
        EXPECT_NE(writer.error().find(c.reason), std::string::npos) << writer.error();
        EXPECT_EQ(writer.error().find('\n'), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(c.settings.path)) << "left a file behind";
        EXPECT_FALSE(writer.write_frame(test_frame(160, 120, 0), {}));
    }

    // A frame of the wrong size stops the capture; what came before is still completed.
    const std::string path = capture_scratch("wrong-frame.mkv");
    VideoWriter writer;
    ASSERT_TRUE(writer.open(small(path, fps)));
    ASSERT_TRUE(writer.write_frame(test_frame(160, 120, 0), std::vector<std::int16_t>(1470)));
    EXPECT_FALSE(writer.write_frame(test_frame(80, 60, 1), std::vector<std::int16_t>(1470)));
    EXPECT_NE(writer.error().find("frame 1 is 80x60"), std::string::npos) << writer.error();
    EXPECT_FALSE(writer.write_frame(test_frame(160, 120, 1), std::vector<std::int16_t>(1470)));
    EXPECT_FALSE(writer.close());
    EXPECT_EQ(stream_field(probe(path), "video", "nb_read_frames"), "1");

    VideoWriter odd_sound;
    ASSERT_TRUE(odd_sound.open(small(capture_scratch("odd-sound.mkv"), fps)));
    EXPECT_FALSE(odd_sound.write_frame(test_frame(160, 120, 0), std::vector<std::int16_t>(3)));
    EXPECT_NE(odd_sound.error().find("odd number of samples"), std::string::npos) << odd_sound.error();
}
