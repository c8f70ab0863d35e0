#include "capture/capture_media.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <sys/wait.h>

#include "capture/audio_slicing.h"

namespace {

constexpr int kCells = 12;

}  // namespace

std::string capture_scratch(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(VIRELINE_BINARY_DIR) / "test-scratch" / "capture-video";
    std::filesystem::create_directories(dir);
    std::filesystem::remove_all(dir / name);
    return (dir / name).string();
}

FrameImage test_frame(int width, int height, std::int64_t n)
{
    FrameImage frame(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<std::uint32_t>((x * 2 + n * 3) & 0xFF);
            const auto g = static_cast<std::uint32_t>((y * 2 + n) & 0x7F) + 0x40;
            const auto b = static_cast<std::uint32_t>(((x + y) / 2 + n * 5) & 0xFF);
            frame.at(x, y) = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    // The moving square, in the lower half.
    const int side = height / 6;
    const int sx = static_cast<int>((n * 2) % (width - side));
    for (int y = height / 2; y < height / 2 + side; ++y)
        for (int x = sx; x < sx + side; ++x) frame.at(x, y) = 0xFFFFFF00u;
    // The number: cells in the top quarter, white for a one bit, black for a zero.
    const int cell = width / kCells;
    for (int bit = 0; bit < kCells; ++bit) {
        const std::uint32_t colour = (n >> bit & 1) != 0 ? 0xFFFFFFFFu : 0xFF000000u;
        for (int y = 0; y < height / 4; ++y)
            for (int x = bit * cell; x < (bit + 1) * cell; ++x) frame.at(x, y) = colour;
    }
    return frame;
}

std::int64_t test_frame_number(const FrameImage& frame)
{
    const int cell = frame.width / kCells;
    std::int64_t n = 0;
    for (int bit = 0; bit < kCells; ++bit) {
        const std::uint32_t p = frame.at(bit * cell + cell / 2, frame.height / 8);
        const int green = static_cast<int>(p >> 8 & 0xFF);
        if (green > 160) n |= std::int64_t{1} << bit;
        else if (green > 96) return -1;  // neither black nor white
    }
    return n;
}

std::vector<std::int16_t> test_tone(std::int64_t first, std::int64_t count)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count) * 2);
    for (std::int64_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(first + i) / 44100.0;
        samples[static_cast<std::size_t>(i) * 2] = static_cast<std::int16_t>(std::lround(8000.0 * std::sin(2 * std::numbers::pi * 440.0 * t)));
        samples[static_cast<std::size_t>(i) * 2 + 1] = static_cast<std::int16_t>(std::lround(6000.0 * std::sin(2 * std::numbers::pi * 660.0 * t)));
    }
    return samples;
}

std::vector<std::vector<std::int16_t>> test_tone_frames(std::int64_t frames, FrameRate fps)
{
    std::vector<std::vector<std::int16_t>> out;
    for (std::int64_t n = 0; n < frames; ++n)
        out.push_back(test_tone(audio_samples_before_frame(n, 44100, fps), audio_samples_of_frame(n, 44100, fps)));
    return out;
}

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string run_command(const std::string& command, int* status)
{
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    if (pipe == nullptr) {
        if (status != nullptr) *status = -1;
        return out;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, got);
    const int result = ::pclose(pipe);
    if (status != nullptr) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return out;
}

std::map<std::string, std::string> probe(const std::string& path)
{
    int status = 0;
    const std::string text = run_command(std::string(VIRELINE_FFPROBE) + " -v error -count_frames -show_streams -show_format -of flat " +
                                         quoted(path), &status);
    std::map<std::string, std::string> fields;
    if (status != 0) return fields;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        fields[line.substr(0, eq)] = value;
    }
    return fields;
}

std::vector<double> probe_frame_times(const std::string& path)
{
    const std::string text = run_command(std::string(VIRELINE_FFPROBE) +
                                         " -v error -select_streams v:0 -show_entries frame=best_effort_timestamp_time -of csv=p=0 " +
                                         quoted(path));
    std::vector<double> times;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty()) times.push_back(std::stod(line));
    return times;
}

std::vector<FrameImage> decode_frames(const std::string& path, int width, int height)
{
    const std::string raw = run_command(std::string(VIRELINE_FFMPEG) + " -v error -i " + quoted(path) +
                                        " -map 0:v:0 -fps_mode passthrough -f rawvideo -pix_fmt bgra -");
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    std::vector<FrameImage> frames;
    for (std::size_t at = 0; at + size <= raw.size(); at += size) {
        FrameImage frame(width, height);
        std::memcpy(frame.argb.data(), raw.data() + at, size);  // B, G, R, A bytes: 0xAARRGGBB words
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<std::int16_t> decode_sound(const std::string& path)
{
    const std::string raw = run_command(std::string(VIRELINE_FFMPEG) + " -v error -i " + quoted(path) +
                                        " -map 0:a:0 -f s16le -acodec pcm_s16le -ac 2 -");
    std::vector<std::int16_t> samples(raw.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}
