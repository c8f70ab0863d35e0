// Progress texts on a clock the test moves: the bar redrawn in place on a terminal, plain lines only
// every few seconds elsewhere, the figures (rate, time elapsed and left) from the frames and the
// clock, the summary, and the sizes and times as written.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "capture/capture_progress.h"

namespace {

// A FILE* whose text the test reads back.
class Captured {
public:
    Captured() : file_(open_memstream(&data_, &size_)) {}
    ~Captured()
    {
        std::fclose(file_);
        std::free(data_);
    }
    std::FILE* file() { return file_; }
    std::string text()
    {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(CaptureProgress, TerminalBarIsRedrawnInPlaceWithRateAndTimeLeft)
{
    Captured out;
    double now = 100.0;
    CaptureProgress progress(out.file(), 600, ProgressStyle::terminal, [&] { return now; });
    EXPECT_TRUE(progress.terminal());
    now = 105.0;
    progress.update(300);
    EXPECT_EQ(out.text(), "\r[###############...............] 300/600 frames  50%, 60.0 frames/s, 0:05 elapsed, 0:05 left\x1b[K");
    // Within a tenth of a second nothing is redrawn; after it, the line is.
    now = 105.05;
    progress.update(303);
    EXPECT_EQ(count(out.text(), "\r"), 1u);
    now = 107.5;
    progress.update(375);
    EXPECT_EQ(count(out.text(), "\r"), 2u);
    EXPECT_NE(out.text().find("375/600 frames  62%, 50.0 frames/s, 0:08 elapsed, 0:05 left"), std::string::npos) << out.text();
    EXPECT_EQ(out.text().find('\n'), std::string::npos);

    now = 110.0;
    progress.update(600);
    progress.finish("out/demo.mp4", 600, FrameRate{60000, 1001}, 3 * 1024 * 1024 / 2);
    const std::string text = out.text();
    EXPECT_NE(text.find("[##############################] 600/600 frames 100%"), std::string::npos) << text;
    EXPECT_NE(text.find("\x1b[K\nCaptured out/demo.mp4: 600 frames, 10.010 s at 60000/1001 fps, 1.5 MiB (1572864 bytes), "
                        "60.0 frames/s on average\n"),
              std::string::npos)
        << text;
}

TEST(CaptureProgress, ElsewherePlainLinesComeEveryFewSeconds)
{
    Captured out;
    double now = 0.0;
    CaptureProgress progress(out.file(), 1200, ProgressStyle::lines, [&] { return now; });
    EXPECT_FALSE(progress.terminal());
    for (int frame = 1; frame <= 720; ++frame) {
        now = frame / 60.0;
        progress.update(frame);
    }
    // 12 s of updates: lines at the first update (frame 1) and 5 s after each line (frames 301, 601).
    const std::string text = out.text();
    EXPECT_EQ(count(text, "\n"), 3u) << text;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("capture: 601/1200 frames  50%, 60.0 frames/s, 0:10 elapsed, 0:10 left\n"), std::string::npos) << text;
    progress.finish("frames/", 720, FrameRate{60, 1}, 999);
    EXPECT_NE(out.text().find("\nCaptured frames/: 720 frames, 12.000 s at 60 fps, 999 B (999 bytes), 60.0 frames/s on average\n"),
              std::string::npos)
        << out.text();
}

TEST(CaptureProgress, AnUnknownTotalShowsNoBarAndNoTimeLeft)
{
    Captured out;
    double now = 0.0;
    CaptureProgress progress(out.file(), 0, ProgressStyle::terminal, [&] { return now; });
    now = 2.0;
    progress.update(100);
    EXPECT_EQ(out.text(), "\r100 frames, 50.0 frames/s, 0:02 elapsed\x1b[K");
    // Automatic style on a memory stream (no terminal): plain lines.
    Captured plain;
    EXPECT_FALSE(CaptureProgress(plain.file(), 10).terminal());
}

TEST(CaptureProgress, SizesAndTimesReadAsPeopleWriteThem)
{
    EXPECT_EQ(capture_size_text(0), "0 B");
    EXPECT_EQ(capture_size_text(1023), "1023 B");
    EXPECT_EQ(capture_size_text(1024), "1.0 KiB");
    EXPECT_EQ(capture_size_text(1536), "1.5 KiB");
    EXPECT_EQ(capture_size_text(1024 * 1024 - 1), "1.0 MiB");
    EXPECT_EQ(capture_size_text(5ull << 30), "5.0 GiB");
    EXPECT_EQ(capture_size_text(3ull << 40), "3.0 TiB");
    EXPECT_EQ(capture_time_text(0), "0:00");
    EXPECT_EQ(capture_time_text(59.4), "0:59");
    EXPECT_EQ(capture_time_text(59.6), "1:00");
    EXPECT_EQ(capture_time_text(754), "12:34");
    EXPECT_EQ(capture_time_text(3600 + 62), "1:01:02");
    EXPECT_EQ(capture_time_text(-3), "0:00");
}
