// The generated "demo.mp3": exact length with gapless decoding by two decoders, loudness and peak
// within their targets, no silence, a seamless loop, and the same bytes on every run.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "timeline.h"

namespace {

const std::string kBuilt = std::string(VIRELINE_BINARY_DIR) + "/data/demo.mp3";

std::vector<std::int16_t> decode_mpg123(const std::string& path) {
    std::vector<std::int16_t> pcm;
    int err = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) return pcm;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(mh);
    mpg123_format(mh, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
        std::vector<std::int16_t> buffer(65536);
        for (;;) {
            std::size_t bytes = 0;
            const int result = mpg123_read(mh, buffer.data(), buffer.size() * 2, &bytes);
            pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(bytes / 2));
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return pcm;
}

std::string run(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Soundtrack : public testing::Test {
protected:
    static void SetUpTestSuite() { pcm_ = decode_mpg123(kBuilt); }
    static std::vector<std::int16_t> pcm_;
};
std::vector<std::int16_t> Soundtrack::pcm_;

TEST_F(Soundtrack, BothDecodersGiveExactlyTheComposedLength) {
    const std::size_t composed = static_cast<std::size_t>(soundtrack::timeline_length());
    EXPECT_EQ(pcm_.size() / 2, composed);
    const std::string raw =
        run(std::string("'") + VIRELINE_FFMPEG + "' -v error -i '" + kBuilt + "' -f s16le -acodec pcm_s16le -");
    EXPECT_EQ(raw.size() / 4, composed);
    // ffmpeg's decoder is another implementation: the samples agree closely, not bit for bit.
    ASSERT_EQ(raw.size(), pcm_.size() * 2);
    std::size_t far = 0;
    for (std::size_t i = 0; i < pcm_.size(); ++i) {
        std::int16_t other = 0;
        std::memcpy(&other, raw.data() + i * 2, 2);
        if (std::abs(other - pcm_[i]) > 8) ++far;
    }
    EXPECT_LT(far, pcm_.size() / 1000);
}

TEST_F(Soundtrack, LoudnessAndTruePeakMeetTheirTargets) {
    const std::string full = run(std::string("'") + VIRELINE_FFMPEG + "' -hide_banner -nostats -i '" + kBuilt +
                                 "' -af ebur128=peak=true -f null - 2>&1");
    const std::size_t summary = full.rfind("Summary:");
    ASSERT_NE(summary, std::string::npos) << full.substr(0, 2000);
    const std::string log = full.substr(summary);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(log, m, std::regex(R"(I:\s+(-?[0-9.]+) LUFS)"))) << log;
    const double integrated = std::stod(m[1]);
    EXPECT_NEAR(integrated, -14.0, 1.0);
    ASSERT_TRUE(std::regex_search(log, m, std::regex(R"(Peak:\s+(-?[0-9.]+) dBFS)"))) << log;
    EXPECT_LT(std::stod(m[1]), -1.0);
    // No clipped samples after decoding.
    EXPECT_EQ(std::count_if(pcm_.begin(), pcm_.end(), [](std::int16_t s) { return s >= 32767 || s <= -32767; }), 0);
}

TEST_F(Soundtrack, NeverSilentForTwoSeconds) {
    const std::size_t window = 4410;  // 0.1 s
    std::size_t quiet = 0, longest = 0;
    for (std::size_t w = 0; (w + window) * 2 <= pcm_.size(); w += window) {
        double energy = 0;
        for (std::size_t i = w * 2; i < (w + window) * 2; ++i) energy += static_cast<double>(pcm_[i]) * pcm_[i];
        const double rms_db = 10.0 * std::log10(energy / (window * 2) / (32768.0 * 32768.0) + 1e-20);
        quiet = rms_db < -60.0 ? quiet + 1 : 0;
        longest = std::max(longest, quiet);
    }
    EXPECT_LT(longest, 20u);
}

TEST_F(Soundtrack, TheEndRunsIntoTheStartWithoutAStep) {
    ASSERT_GT(pcm_.size(), 44100u * 4);
    const std::size_t frames = pcm_.size() / 2;
    for (std::size_t channel = 0; channel < 2; ++channel) {
        std::vector<int> steps;
        for (std::size_t i = 1; i < frames; ++i)
            steps.push_back(std::abs(pcm_[i * 2 + channel] - pcm_[(i - 1) * 2 + channel]));
        std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() * 999 / 1000),
                         steps.end());
        const int usual = steps[steps.size() * 999 / 1000];
        const int seam = std::abs(pcm_[channel] - pcm_[(frames - 1) * 2 + channel]);
        EXPECT_LE(seam, usual) << "channel " << channel;
    }
    // Nor a jump in level: the last and first half seconds are about as loud.
    auto rms = [&](std::size_t from, std::size_t count) {
        double e = 0;
        for (std::size_t i = from * 2; i < (from + count) * 2; ++i) e += static_cast<double>(pcm_[i]) * pcm_[i];
        return 10.0 * std::log10(e / static_cast<double>(count * 2) + 1e-9);
    };
    EXPECT_NEAR(rms(frames - 22050, 22050), rms(0, 22050), 6.0);
}

TEST(SoundtrackGenerator, WritesTheSameBytesOnEveryRun) {
    // The build made the first run; this is the second.
    const std::filesystem::path dir = std::filesystem::path(VIRELINE_BINARY_DIR) / "test-scratch" / "soundtrack";
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "again.mp3").string();
    std::filesystem::remove(out);
    const std::string command = std::string("'") + VIRELINE_SOUNDTRACK_TOOL + "' --soundfont '" +
                                VIRELINE_SOUNDFONT_FILE + "' --out '" + out + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::uint8_t> again = read_bytes(out);
    ASSERT_GT(again.size(), 1000000u);
    EXPECT_TRUE(again == read_bytes(kBuilt)) << "the second run wrote other bytes";
}

}  // namespace
