// The program's capture and benchmark, run as a user runs them: videos read back by ffprobe and
// ffmpeg (frame counts, sizes, codecs, the sound against the music decoded offline here), the folder
// form against the program's own headless frames, two captures of one segment compared byte for byte,
// a capture interrupted by SIGINT, a padded capture at a larger size, and the benchmark's table.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "capture/capture_media.h"
#include "capture/png_file.h"
#include "driver/demo_process.h"
#include "platform/audio/audio_render.h"

namespace {

std::string scratch(const std::string& name) { return capture_scratch("demo-" + name); }

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

FrameImage read_png(const std::string& path)
{
    FrameImage image;
    EXPECT_TRUE(png_read(path, &image)) << path;
    return image;
}

// The music as the capture should carry it: the demo's file decoded offline from its start.
std::vector<std::int16_t> offline_music(std::size_t frames)
{
    const std::string path = std::string(VIRELINE_DATA_DIR) + "/demo.mp3";
    std::unique_ptr<AudioRender> music = AudioRender::from_file(path.c_str(), 44100, true);
    std::vector<std::int16_t> samples(frames * 2);
    if (music == nullptr) return {};
    samples.resize(music->render(samples.data(), frames) * 2);
    return samples;
}

// The sum of squared differences between horizontal neighbours' green: how much fine detail a picture
// has (a sharp edge counts fully, the same edge smeared over a few pixels much less).
double detail(const FrameImage& image)
{
    double sum = 0.0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x + 1 < image.width; ++x) {
            const int d = static_cast<int>((image.at(x, y) >> 8) & 0xFF) - static_cast<int>((image.at(x + 1, y) >> 8) & 0xFF);
            sum += d * d;
        }
    }
    return sum;
}

// image scaled by bilinear interpolation to width × height.
FrameImage scaled(const FrameImage& image, int width, int height)
{
    FrameImage out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double sx = std::max(0.0, (x + 0.5) * image.width / width - 0.5);
            const double sy = std::max(0.0, (y + 0.5) * image.height / height - 0.5);
            const int x0 = std::min(static_cast<int>(sx), image.width - 1);
            const int y0 = std::min(static_cast<int>(sy), image.height - 1);
            const int x1 = std::min(x0 + 1, image.width - 1);
            const int y1 = std::min(y0 + 1, image.height - 1);
            const double fx = sx - x0;
            const double fy = sy - y0;
            std::uint32_t pixel = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                auto c = [&](int px, int py) { return static_cast<double>((image.at(px, py) >> shift) & 0xFF); };
                const double v = (c(x0, y0) * (1 - fx) + c(x1, y0) * fx) * (1 - fy) + (c(x0, y1) * (1 - fx) + c(x1, y1) * fx) * fy;
                pixel |= static_cast<std::uint32_t>(std::lround(v)) << shift;
            }
            out.at(x, y) = pixel;
        }
    }
    return out;
}

void expect_mp4_capture(const std::string& fps, std::int64_t frames, double seconds)
{
    SCOPED_TRACE("at " + fps + " frames per second");
    const std::string path = scratch("capture-" + std::to_string(frames) + ".mp4");
    const DemoProcessResult run = run_demo("--capture " + path + " --fps " + fps + " --duration " + std::to_string(seconds));
    ASSERT_EQ(run.status, 0) << tail_lines(run.err);
    EXPECT_NE(run.err.find(std::to_string(frames) + " frames"), std::string::npos) << tail_lines(run.err);
    std::map<std::string, std::string> info = probe(path);
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(info["streams.stream.0.codec_name"], "h264");
    EXPECT_EQ(info["streams.stream.0.width"], "640");
    EXPECT_EQ(info["streams.stream.0.height"], "480");
    EXPECT_EQ(info["streams.stream.0.nb_read_frames"], std::to_string(frames));
    EXPECT_EQ(info["streams.stream.1.codec_name"], "aac");
    const double video = std::stod(info["streams.stream.0.duration"]);
    const double audio = std::stod(info["streams.stream.1.duration"]);
    EXPECT_NEAR(video, seconds, 1e-3);
    EXPECT_NEAR(audio, video, 1.0 / 59.0);
}

}  // namespace

TEST(DemoCapture, AnMp4HoldsEveryFrameOfItsDurationWithSoundAsLongAtBothRates)
{
    expect_mp4_capture("60", 300, 5.0);
    expect_mp4_capture("60000/1001", 300, 5.005);
}

TEST(DemoCapture, TheFolderFormHoldsTheDemosOwnFramesAndTheMusicFromItsFirstSample)
{
    const std::string folder = scratch("frames") + "/";
    const DemoProcessResult run = run_demo("--capture " + folder + " --fps 30 --start 3 --duration 0.2");
    ASSERT_EQ(run.status, 0) << tail_lines(run.err);
    ASSERT_TRUE(std::filesystem::exists(folder + "000005.png"));
    EXPECT_FALSE(std::filesystem::exists(folder + "000006.png"));

    // The same frame from a headless run of the program on its fixed step.
    const std::string shot = scratch("shot.png");
    const DemoProcessResult plain = run_demo("--headless --fixed-step 1/30 --start 3 --frames 6 --shot " + shot);
    ASSERT_EQ(plain.status, 0) << tail_lines(plain.err);
    const FrameImage captured = read_png(folder + "000005.png");
    const FrameImage shown = read_png(shot);
    ASSERT_EQ(captured.width, 640);
    EXPECT_TRUE(captured.argb == shown.argb);

    // A capture from the start: its sound is the music from sample 0, sample for sample.
    const std::string first = scratch("first") + "/";
    ASSERT_EQ(run_demo("--capture " + first + " --fps 60000/1001 --duration 0.5").status, 0);
    const std::vector<std::int16_t> sound = decode_sound(first + "audio.wav");
    const std::vector<std::int16_t> music = offline_music(44100);
    // 30 frames at 60000/1001: floor(30 · 44100 · 1001 / 60000) samples.
    ASSERT_EQ(sound.size(), 2u * 22072u);
    ASSERT_GE(music.size(), sound.size());
    EXPECT_TRUE(std::equal(sound.begin(), sound.end(), music.begin()));
    int loud = 0;
    for (const std::int16_t s : sound) loud += std::abs(s) > 1000;
    EXPECT_GT(loud, 1000) << "the start of the music is not silence";
}

TEST(DemoCapture, TwoSoftwareCapturesOfOneSegmentAreTheSameBytes)
{
    std::string pictures[2];
    for (int i = 0; i < 2; ++i) {
        const std::string folder = scratch("same-" + std::to_string(i)) + "/";
        ASSERT_EQ(run_demo("--capture " + folder + " --start 9 --duration 0.1").status, 0);
        pictures[i] = file_bytes(folder + "000005.png") + file_bytes(folder + "audio.wav");
    }
    EXPECT_GT(pictures[0].size(), 10000u);
    EXPECT_TRUE(pictures[0] == pictures[1]);
}

TEST(DemoCapture, AnInterruptedCaptureLeavesAPlayableFileOfTheFramesSoFar)
{
    const std::string path = scratch("interrupted.mp4");
    const std::string err = scratch("interrupted.err");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(VIRELINE_DATA_DIR) != 0) _exit(99);
        if (std::freopen(err.c_str(), "w", stderr) == nullptr) _exit(99);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(VIRELINE_PROGRAM, VIRELINE_PROGRAM, "--capture", path.c_str(), "--duration", "600", nullptr);
        _exit(98);
    }
    // Wait for the first progress line, then a little more, then interrupt.
    for (int i = 0; i < 600 && file_bytes(err).find("frames") == std::string::npos; ++i) usleep(50000);
    usleep(1500000);
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << tail_lines(file_bytes(err));
    EXPECT_EQ(WEXITSTATUS(status), 0) << tail_lines(file_bytes(err));
    std::map<std::string, std::string> info = probe(path);
    ASSERT_FALSE(info.empty()) << tail_lines(file_bytes(err));
    const long frames = std::stol(info["streams.stream.0.nb_read_frames"]);
    EXPECT_GT(frames, 0);
    EXPECT_LT(frames, 36000);
    EXPECT_NE(file_bytes(err).find("Captured " + path + ": " + std::to_string(frames) + " frames"), std::string::npos)
        << tail_lines(file_bytes(err));
}

TEST(DemoCapture, ALargerSizeIsRenderedAnewAndPillarboxed)
{
    const std::string large = scratch("large") + "/";
    const DemoProcessResult run =
        run_demo("--capture " + large + " --size 1440x1080 --pad 1920x1080 --start 6 --duration 0.05 --fps 20");
    ASSERT_EQ(run.status, 0) << tail_lines(run.err);
    const FrameImage frame = read_png(large + "000000.png");
    ASSERT_EQ(frame.width, 1920);
    ASSERT_EQ(frame.height, 1080);
    for (int y = 0; y < 1080; y += 7) {
        for (const int x : {0, 100, 239, 1680, 1800, 1919}) ASSERT_EQ(frame.at(x, y) & 0xFFFFFF, 0u) << x << "," << y;
    }
    const std::string small = scratch("small") + "/";
    ASSERT_EQ(run_demo("--capture " + small + " --start 6 --duration 0.05 --fps 20").status, 0);
    const FrameImage upscaled = scaled(read_png(small + "000000.png"), 1440, 1080);
    FrameImage inner(1440, 1080);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1440; ++x) inner.at(x, y) = frame.at(x + 240, y);
    const double sharp = detail(inner);
    const double blurred = detail(upscaled);
    EXPECT_GT(sharp, 1.3 * blurred) << "the large frame has no more detail than the small one scaled up";
}

TEST(DemoCapture, MistakesAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char* options;
        const char* says;
    };
    const Case cases[] = {
        {"--capture out.avi", "capture"},
        {"--capture out.mp4 --fps 0", "--fps"},
        {"--capture out.mp4 --size 640", "--size"},
        {"--capture out.mp4 --size 1440x1080 --pad 1280x720", "--pad"},
        {"--duration 5", "--capture"},
        {"--capture out.mp4 --fixed-step 1/60", "--fps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const DemoProcessResult run = run_demo(std::string(c.options) + " --headless");
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

TEST(DemoBenchmark, PrintsARowForEveryPartAndTheWholeRun)
{
    const std::string json = scratch("bench.json");
    const DemoProcessResult run = run_demo("--benchmark --device software --frames 2 --json " + json);
    ASSERT_EQ(run.status, 0) << tail_lines(run.err);
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_NE(line.find("median ms"), std::string::npos) << line;
    for (int part = 1; part <= 12; ++part) {
        ASSERT_TRUE(std::getline(lines, line));
        int number = 0;
        long long frames = 0;
        double median = 0, p99 = 0, fps = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d %lld %lf %lf %lf", &number, &frames, &median, &p99, &fps), 5) << line;
        EXPECT_EQ(number, part);
        EXPECT_GE(frames, 2);
        EXPECT_LE(median, p99);
        EXPECT_GT(fps, 0.0);
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.rfind("all", 0), 0u) << line;
    const std::string text = file_bytes(json);
    std::size_t parts = 0;
    for (std::size_t at = text.find("{\"part\": "); at != std::string::npos; at = text.find("{\"part\": ", at + 1)) ++parts;
    EXPECT_EQ(parts, 12u);
    EXPECT_NE(text.find("\"whole\""), std::string::npos);
}
