#include "capture/capture_progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int kBarWidth = 30;
constexpr double kTerminalInterval = 0.1;

std::string format(const char* pattern, double a)
{
    char text[64];
    std::snprintf(text, sizeof(text), pattern, a);
    return text;
}

}  // namespace

double capture_steady_seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string capture_size_text(std::uint64_t bytes)
{
    if (bytes < 1024) return std::to_string(bytes) + " B";
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1023.95 && unit < 3) {
        value /= 1024.0;
        ++unit;
    }
    return format("%.1f ", value) + units[unit];
}

std::string capture_time_text(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    const auto whole = static_cast<long long>(std::floor(seconds + 0.5));
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof(text), "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

CaptureProgress::CaptureProgress(std::FILE* out, std::int64_t total_frames, ProgressStyle style, CaptureClock clock)
    : out_(out), total_(std::max<std::int64_t>(total_frames, 0)), clock_(std::move(clock)), start_(clock_())
{
    terminal_ = style == ProgressStyle::terminal || (style == ProgressStyle::automatic && isatty(fileno(out)) == 1);
}

std::string CaptureProgress::status(std::int64_t done, double elapsed) const
{
    const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0.0;
    std::string text = std::to_string(done);
    if (total_ > 0) text += "/" + std::to_string(total_);
    text += " frames";
    if (total_ > 0) text += format(" %3.0f%%", 100.0 * static_cast<double>(std::min(done, total_)) / static_cast<double>(total_));
    text += format(", %.1f frames/s", rate) + ", " + capture_time_text(elapsed) + " elapsed";
    if (total_ > 0 && rate > 0) text += ", " + capture_time_text(static_cast<double>(std::max<std::int64_t>(total_ - done, 0)) / rate) + " left";
    return text;
}

void CaptureProgress::update(std::int64_t done)
{
    const double now = clock_();
    const bool last = total_ > 0 && done >= total_;
    if (!last && now - last_draw_ < (terminal_ ? kTerminalInterval : line_interval_)) return;
    last_draw_ = now;
    const std::string text = status(done, now - start_);
    if (terminal_) {
        int filled = kBarWidth;
        if (total_ > 0) filled = static_cast<int>(static_cast<double>(kBarWidth) * static_cast<double>(std::min(done, total_)) / static_cast<double>(total_));
        const std::string bar = total_ > 0 ? "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " : "";
        // Back to the line's start, the new text, and the rest of the old one cleared.
        std::fprintf(out_, "\r%s%s\x1b[K", bar.c_str(), text.c_str());
        bar_drawn_ = true;
    } else {
        std::fprintf(out_, "capture: %s\n", text.c_str());
    }
    std::fflush(out_);
}

void CaptureProgress::finish(const std::string& path, std::int64_t frames, FrameRate fps, std::uint64_t bytes)
{
    const double elapsed = clock_() - start_;
    if (bar_drawn_) std::fputc('\n', out_);
    bar_drawn_ = false;
    const double duration = fps.valid() ? static_cast<double>(frames) * static_cast<double>(fps.den) / static_cast<double>(fps.num) : 0.0;
    const double rate = elapsed > 0 ? static_cast<double>(frames) / elapsed : 0.0;
    std::fprintf(out_, "Captured %s: %lld frames, %s at %s fps, %s (%llu bytes), %.1f frames/s on average\n", path.c_str(),
                 static_cast<long long>(frames), format("%.3f s", duration).c_str(), fps.text().c_str(),
                 capture_size_text(bytes).c_str(), static_cast<unsigned long long>(bytes), rate);
    std::fflush(out_);
}
