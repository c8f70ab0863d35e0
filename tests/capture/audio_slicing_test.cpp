// Cutting the sound into frames: exact counts at the common rates, long runs that add up to their
// duration without drift (checked against 128-bit arithmetic far past any real capture), the frame
// count of a duration rounded to the nearest frame, and frame rates as typed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "capture/audio_slicing.h"
#include "capture/frame_rate.h"

namespace {

__extension__ typedef __int128 Wide;

std::int64_t reference_before(std::int64_t n, std::int64_t rate, FrameRate fps)
{
    return static_cast<std::int64_t>(static_cast<Wide>(n) * rate * fps.den / fps.num);
}

}  // namespace

TEST(AudioSlicing, WholeRatesGiveEveryFrameTheSameCount)
{
    const struct {
        FrameRate fps;
        std::int64_t rate, per_frame;
    } cases[] = {{{60, 1}, 44100, 735}, {{50, 1}, 44100, 882}, {{30, 1}, 44100, 1470}, {{25, 1}, 48000, 1920}};
    for (const auto& c : cases) {
        for (const std::int64_t n : {std::int64_t{0}, std::int64_t{1}, std::int64_t{599}, std::int64_t{123456789}})
            EXPECT_EQ(audio_samples_of_frame(n, c.rate, c.fps), c.per_frame) << c.fps.text() << " frame " << n;
        EXPECT_EQ(audio_samples_before_frame(3600, c.rate, c.fps), 3600 * c.per_frame);
    }
}

TEST(AudioSlicing, NtscRatesAlternateAndAddUpExactlyWithoutDrift)
{
    const FrameRate fps{60000, 1001};
    std::set<std::int64_t> counts;
    std::int64_t sum = 0;
    for (std::int64_t n = 0; n < 60000; ++n) {
        const std::int64_t c = audio_samples_of_frame(n, 44100, fps);
        counts.insert(c);
        sum += c;
        if (n % 997 == 0) {
            ASSERT_EQ(audio_samples_before_frame(n, 44100, fps), reference_before(n, 44100, fps)) << n;
        }
    }
    EXPECT_EQ(counts, (std::set<std::int64_t>{735, 736}));
    EXPECT_EQ(sum, 44100 * 1001);  // 60000 frames last 1001 s exactly
    EXPECT_EQ(audio_samples_of_frame(0, 44100, fps), 735);  // 735.735: the first frame rounds down

    // Far past any capture (and past where n·R·den fits 64 bits) the counts stay exact.
    for (const FrameRate rate : {FrameRate{60000, 1001}, FrameRate{30000, 1001}, FrameRate{999983, 999979}}) {
        for (const std::int64_t n : {std::int64_t{1} << 40, (std::int64_t{1} << 44) + 12345, std::int64_t{987654321987}}) {
            EXPECT_EQ(audio_samples_before_frame(n, 192000, rate), reference_before(n, 192000, rate)) << rate.text() << " " << n;
            EXPECT_EQ(audio_samples_of_frame(n, 44100, rate),
                      reference_before(n + 1, 44100, rate) - reference_before(n, 44100, rate));
        }
    }
}

TEST(AudioSlicing, BadInputCountsNothing)
{
    EXPECT_EQ(audio_samples_of_frame(-1, 44100, FrameRate{60, 1}), 0);
    EXPECT_EQ(audio_samples_before_frame(-5, 44100, FrameRate{60, 1}), 0);
    EXPECT_EQ(audio_samples_of_frame(10, 44100, FrameRate{0, 1}), 0);
    EXPECT_EQ(audio_samples_of_frame(10, 0, FrameRate{60, 1}), 0);
    EXPECT_EQ(audio_samples_of_frame(10, 44100, FrameRate{60, kFrameRateLimit + 1}), 0);
}

TEST(AudioSlicing, DurationsBecomeTheNearestWholeFrame)
{
    EXPECT_EQ(video_frame_count(10.0, FrameRate{60, 1}), 600);
    EXPECT_EQ(video_frame_count(1.0, FrameRate{60000, 1001}), 60);     // 59.94
    EXPECT_EQ(video_frame_count(10.0, FrameRate{60000, 1001}), 599);   // 599.4
    EXPECT_EQ(video_frame_count(10.01, FrameRate{60000, 1001}), 600);  // 600.0
    EXPECT_EQ(video_frame_count(0.26, FrameRate{10, 1}), 3);
    EXPECT_EQ(video_frame_count(0.24, FrameRate{10, 1}), 2);
    EXPECT_EQ(video_frame_count(0.004, FrameRate{60, 1}), 0);
    EXPECT_EQ(video_frame_count(-1.0, FrameRate{60, 1}), 0);
    EXPECT_EQ(video_frame_count(std::nan(""), FrameRate{60, 1}), 0);
    EXPECT_EQ(video_frame_count(INFINITY, FrameRate{60, 1}), 0);
    EXPECT_EQ(video_frame_count(10.0, FrameRate{60, 0}), 0);
}

TEST(FrameRate, ParsesWholeNumbersAndFractionsAndRefusesTheRest)
{
    FrameRate rate;
    ASSERT_TRUE(frame_rate_parse("60", &rate));
    EXPECT_EQ(rate.num, 60);
    EXPECT_EQ(rate.den, 1);
    EXPECT_EQ(rate.text(), "60");
    ASSERT_TRUE(frame_rate_parse("60000/1001", &rate));
    EXPECT_EQ(rate.num, 60000);
    EXPECT_EQ(rate.den, 1001);
    EXPECT_EQ(rate.text(), "60000/1001");
    EXPECT_NEAR(rate.fps(), 59.94, 0.001);
    for (const char* bad : {"", "0", "-60", "60/0", "/1001", "60/", "59.94", " 60", "60 ", "abc", "1/2/3", "1000001",
                            "99999999999999999999"}) {
        std::string error;
        FrameRate untouched{30, 1};
        EXPECT_FALSE(frame_rate_parse(bad, &untouched, &error)) << bad;
        EXPECT_EQ(untouched.num, 30) << bad;
        EXPECT_NE(error.find("bad frame rate"), std::string::npos) << bad;
    }
}
