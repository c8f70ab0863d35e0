// The demo's timeline as the program prints it (--timeline) against a prediction made here from the
// sequencer's table alone: the frame timer's arithmetic on a counter that advances p counts of
// frequency q per presented frame, the demo time and every part's own clock summed in single precision,
// each part's end condition, and the frames each kind of pass presents (an ending call none, the first
// calls of parts 2 and 12 three, every other pass one). --start 12 runs the whole timeline's logic with
// draws discarded, so this stays quick.
#include <gtest/gtest.h>

#include "driver/demo_process.h"

#include <cstdio>
#include <sstream>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Begin {
    int part = 0;
    long long pass = 0;
    long long frame = 0;
    double delta = 0;
    double demo_time = 0;
};

std::vector<Begin> run_timeline(const std::string& step, const std::string& extra = "")
{
    const DemoProcessResult run =
        run_demo("--headless --fixed-step " + step + " --timeline --start 12 --frames 2 " + extra);
    EXPECT_EQ(run.status, 0) << tail_lines(run.err);
    std::vector<Begin> begins;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        Begin b;
        if (std::sscanf(line.c_str(), "{\"part\": %d, \"pass\": %lld, \"frame\": %lld, \"delta\": %lf, \"demo_time\": %lf}",
                        &b.part, &b.pass, &b.frame, &b.delta, &b.demo_time) == 5) {
            begins.push_back(b);
        }
    }
    return begins;
}

// The timeline the sequencer's table predicts at a step of p/q seconds per presented frame.
std::vector<Begin> predict(std::int64_t p, std::int64_t q)
{
    std::vector<Begin> begins;
    const float seconds_per_count = 1.0f / static_cast<float>(q);
    std::int64_t count = 0;
    float previous = 0.0f;
    float demo_time = 0.0f;
    int part = 0;
    int begun = -1;
    float clock = 0.0f;
    bool first_take = true;
    long long frames = 0;
    for (long long pass = 0; part < 11 || begun != 11; ++pass) {
        const double x = static_cast<double>(count) * static_cast<double>(seconds_per_count);
        const float dt = static_cast<float>(x - static_cast<double>(previous));
        previous = static_cast<float>(x);
        demo_time += dt * 30.0f;
        bool first = false;
        if (part != begun) {
            begun = part;
            first = true;
            clock = 0.0f;
            begins.push_back(Begin{part + 1, pass, frames, dt, demo_time});
            if (part == 11) break;
        }
        clock += dt * 30.0f;
        bool ended = false;
        switch (part + 1) {
            case 1: ended = clock > 650.0f; break;
            case 2: ended = demo_time > 1200.0f; break;
            case 3: ended = clock > 100.0f; break;
            case 5:
                if (first_take) {
                    if (clock > 400.0f) {
                        clock = 10.0f;
                        first_take = false;
                    }
                } else {
                    ended = clock > 200.0f;
                }
                break;
            case 6: ended = clock > 450.0f; break;
            case 8: ended = clock > 700.0f; break;
            case 9: ended = clock > 800.0f; break;
            case 10: ended = clock > 600.0f; break;
            default: ended = clock > 200.0f; break;  // parts 4, 7 and 11
        }
        long long presented = ended ? 0 : 1;
        if (first && part + 1 == 2) presented += 2;  // two cleared frames before its first one
        if (ended) ++part;
        frames += presented;
        count += presented * p;
    }
    return begins;
}

void expect_same(const std::vector<Begin>& got, const std::vector<Begin>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("part " + std::to_string(want[i].part));
        EXPECT_EQ(got[i].part, want[i].part);
        EXPECT_EQ(got[i].pass, want[i].pass);
        EXPECT_EQ(got[i].frame, want[i].frame);
        EXPECT_FLOAT_EQ(static_cast<float>(got[i].demo_time), static_cast<float>(want[i].demo_time));
    }
}

TEST(Timeline, EveryPartBeginsWhereTheTablePredictsAtThirtyFramesASecond)
{
    expect_same(run_timeline("1/30"), predict(1, 30));
}

TEST(Timeline, EveryPartBeginsWhereTheTablePredictsAtSixtyFramesASecond)
{
    const std::vector<Begin> got = run_timeline("1/60");
    expect_same(got, predict(1, 60));
    // The eleven finite parts last about 5040 ticks.
    ASSERT_EQ(got.size(), 12u);
    EXPECT_NEAR(got.back().demo_time, 5040.0, 15.0);
}

TEST(Timeline, AnEndingCallPresentsNothingSoTheNextPartStartsWithNoTime)
{
    const std::vector<Begin> got = run_timeline("1/30");
    ASSERT_EQ(got.size(), 12u);
    for (std::size_t i = 1; i < got.size(); ++i) {
        SCOPED_TRACE("part " + std::to_string(got[i].part));
        EXPECT_NEAR(got[i].delta, 0.0, 1e-5);
        // The part before ended in the pass before this one without presenting.
        EXPECT_GT(got[i].pass, got[i - 1].pass);
    }
}

TEST(Timeline, TwoSecondFramesEndAtMostOnePartPerFrame)
{
    const std::vector<Begin> got = run_timeline("2");
    expect_same(got, predict(2, 1));
    for (std::size_t i = 1; i < got.size(); ++i) EXPECT_GE(got[i].pass - got[i - 1].pass, 2);
}

}  // namespace
