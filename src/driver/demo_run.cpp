#include "driver/demo_run.h"

#include <filesystem>
#include <thread>

#include "capture/frame_png.h"
#include "driver/app_access.h"
#include "driver/demo_application.h"
#include "platform/d3d/draw_discard.h"

const float DEMO_PART_NOMINAL_TICKS[DEMO_PART_COUNT] = {650, 550, 100, 200, 590, 450, 200, 700, 800, 600, 200, 600};

namespace {

// The parts whose first frame builds on the picture the part before left in the back buffer (part 10
// lays its motion-blur target over it without clearing): a fast-forward to them draws the frames of
// the part before, unseen, so that the picture is the one a full run has.
constexpr bool kBuildsOnPreviousPicture[DEMO_PART_COUNT] = {false, false, false, false, false, false,
                                                             false, false, false, true,  false, false};

}  // namespace

DemoRun::DemoRun(const DemoOptions& options, DemoClock* clock, std::string shot_folder, std::FILE* timeline)
    : options_(options), clock_(clock), shot_folder_(std::move(shot_folder)), timeline_(timeline)
{
}

DemoRun::~DemoRun()
{
    frame_loop_set_observer(nullptr);
    sequencer_set_begin_observer({});
    d3d_set_draws_discarded(false);
}

void DemoRun::begin()
{
    frame_loop_set_observer(this);
    sequencer_set_begin_observer([this](int index, float dt, float t) { part_begins(index, dt, t); });
    if (options_.start_part > 1) {
        fast_forward_ = true;
        d3d_set_draws_discarded(true);
    }
}

void DemoRun::part_begins(int index, float dt, float demo_time)
{
    if (options_.timeline) {
        std::fprintf(timeline_, "{\"part\": %d, \"pass\": %lld, \"frame\": %lld, \"delta\": %.9g, \"demo_time\": %.9g}\n",
                     index + 1, passes_, frames_presented_, static_cast<double>(dt), static_cast<double>(demo_time));
        std::fflush(timeline_);
    }
    part_begin_time_[index] = demo_time;
    if (!fast_forward_) return;
    const int start = options_.start_part - 1;
    if (index + 1 == start && kBuildsOnPreviousPicture[start]) d3d_set_draws_discarded(false);
    if (index == start) {
        fast_forward_ = false;
        d3d_set_draws_discarded(false);
        if (clock_ != nullptr && !options_.fixed_step_given) clock_->go_real();
    }
}

void DemoRun::write_frame(const std::string& path, const char* what)
{
    std::string reason;
    if (frame_png_write(app_back_buffer(), path, &reason)) {
        std::fprintf(stderr, "vireline: %s written to %s\n", what, path.c_str());
    } else {
        std::fprintf(stderr, "vireline: %s not written: %s\n", what, reason.c_str());
    }
}

bool DemoRun::before_present()
{
    if (fast_forward_) return false;
    if (demo_take_screenshot_request()) {
        std::string path;
        do {
            char name[40];
            std::snprintf(name, sizeof name, "vireline-%04d.png", ++screenshot_number_);
            path = (std::filesystem::path(shot_folder_) / name).string();
        } while (std::filesystem::exists(path) && screenshot_number_ < 9999);
        write_frame(path, "the frame");
    }
    if (!options_.shot_path.empty() && frames_shown_ + 1 == options_.frames) {
        write_frame(options_.shot_path, "the last frame");
    }
    if (!options_.part_shots_dir.empty()) {
        const Sequencer& s = demo_sequencer();
        const int index = s.part_index;
        if (index >= 0 && index < DEMO_PART_COUNT && !part_shot_[index] &&
            s.demo_time - part_begin_time_[index] >= DEMO_PART_NOMINAL_TICKS[index] * 0.5f) {
            part_shot_[index] = true;
            ++part_shots_done_;
            char name[24];
            std::snprintf(name, sizeof name, "part-%02d.png", index + 1);
            write_frame((std::filesystem::path(options_.part_shots_dir) / name).string(), "a frame of the part");
        }
    }
    return true;
}

void DemoRun::frame_ended()
{
    ++frames_presented_;
    if (clock_ != nullptr) clock_->frame_presented();
    if (fast_forward_) return;
    ++frames_shown_;
    if (options_.fps_cap > 0.0 && (clock_ == nullptr || !clock_->is_virtual())) {
        const auto slot = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(1.0 / options_.fps_cap));
        const auto now = std::chrono::steady_clock::now();
        if (last_shown_.time_since_epoch().count() != 0 && now < last_shown_ + slot) {
            std::this_thread::sleep_until(last_shown_ + slot);
            last_shown_ += slot;
        } else {
            last_shown_ = now;
        }
    }
}

void DemoRun::pass_done() { ++passes_; }

bool DemoRun::should_stop() const
{
    if (options_.frames > 0 && frames_shown_ >= options_.frames) return true;
    if (!options_.part_shots_dir.empty() && part_shots_done_ >= DEMO_PART_COUNT - (options_.start_part - 1)) {
        return true;
    }
    return false;
}
