// How a capture is getting on, written to a FILE*: on a terminal a bar redrawn in place (frames done
// of the total, percent, frames per second, time elapsed and left); to a file or pipe a plain line
// every few seconds, so logs stay readable. At the end one line sums it up: where, how many frames,
// how long the video is, how big (in bytes and in KiB/MiB/GiB) and how fast it was made. The clock is
// a parameter, so the texts can be checked without waiting.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "capture/frame_rate.h"

// Seconds on a steady clock.
using CaptureClock = std::function<double()>;
double capture_steady_seconds();

enum class ProgressStyle { automatic, terminal, lines };

class CaptureProgress {
public:
    // total_frames may be 0 when unknown (no bar, no time left). automatic: terminal when out is one.
    CaptureProgress(std::FILE* out, std::int64_t total_frames, ProgressStyle style = ProgressStyle::automatic,
                    CaptureClock clock = capture_steady_seconds);

    // Frames done so far; draws when enough time has passed since the last drawing (a tenth of a
    // second on a terminal, line_interval seconds otherwise), and always for the last frame.
    void update(std::int64_t frames_done);
    // Ends the bar's line and writes the summary: the output's path, frames, the video's duration at
    // fps, its size in bytes.
    void finish(const std::string& path, std::int64_t frames, FrameRate fps, std::uint64_t bytes);

    // The total once it is known (or better known) during the run.
    void set_total(std::int64_t total_frames) { total_ = total_frames > 0 ? total_frames : 0; }

    bool terminal() const { return terminal_; }
    void set_line_interval(double seconds) { line_interval_ = seconds; }

private:
    std::string status(std::int64_t frames_done, double elapsed) const;

    std::FILE* out_;
    std::int64_t total_;
    bool terminal_;
    CaptureClock clock_;
    double start_;
    double last_draw_ = -1e300;
    double line_interval_ = 5.0;
    bool bar_drawn_ = false;
};

// "12.3 MiB" style: bytes below 1024 as they are, then one decimal of KiB, MiB, GiB, TiB.
std::string capture_size_text(std::uint64_t bytes);
// "1:02:03" or "2:03" (hours only when needed), to the nearest second.
std::string capture_time_text(double seconds);
