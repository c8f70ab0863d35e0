#include "driver/demo_run.h"

#include <filesystem>
#include <thread>

#include "capture/frame_png.h"
#include "driver/app_access.h"
#include "driver/demo_application.h"
#include "driver/demo_capture.h"
#include "framework/application.h"
#include "platform/d3d/draw_discard.h"

const float DEMO_PART_NOMINAL_TICKS[DEMO_PART_COUNT] = {650, 550, 100, 200, 590, 450, 200, 700, 800, 600, 200, 600};

namespace {

// The parts whose first frame builds on the picture the part before left in the back buffer (part 10
// lays its motion-blur target over it without clearing): a fast-forward to them draws the frames of
// the part before, unseen, so that the picture is the one a full run has.
constexpr bool kBuildsOnPreviousPicture[DEMO_PART_COUNT] = {false, false, false, false, false, false,
                                                             false, false, false, true,  false, false};

}  // namespace

DemoRun::DemoRun(const DemoOptions& options, DemoClock* clock, std::string shot_folder, std::FILE* timeline,
                 DemoCapture* capture)
    : options_(options), clock_(clock), shot_folder_(std::move(shot_folder)), timeline_(timeline), capture_(capture)
{
}

DemoRun::~DemoRun()
{
    write_frame_times();
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
    if (fast_forward_) {
        const int start = options_.start_part - 1;
        if (index + 1 == start && kBuildsOnPreviousPicture[start]) d3d_set_draws_discarded(false);
        if (index == start) {
            fast_forward_ = false;
            d3d_set_draws_discarded(false);
            if (clock_ != nullptr && !options_.fixed_step_given) clock_->go_real();
        }
    }
    if (index == options_.start_part - 1 && last_frame_end_.time_since_epoch().count() == 0) {
        last_frame_end_ = std::chrono::steady_clock::now();
    }
    if (index == DEMO_PART_COUNT - 1 && capture_ != nullptr && !fast_forward_) capture_->last_part_began();
}

void DemoRun::time_frame()
{
    if (options_.frame_times_path.empty()) return;
    // Reading a pixel waits until the device has finished the frame (a GPU works behind the CPU).
    if (IDirectDrawSurface7* back = app_back_buffer()) {
        RECT pixel{0, 0, 1, 1};
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        if (SUCCEEDED(back->Lock(&pixel, &desc, DDLOCK_READONLY | DDLOCK_WAIT, nullptr))) back->Unlock(&pixel);
    }
    const auto now = std::chrono::steady_clock::now();
    if (last_frame_end_.time_since_epoch().count() != 0) {
        frame_times_.emplace_back(demo_sequencer().part_index + 1,
                                  std::chrono::duration<double>(now - last_frame_end_).count());
    }
    last_frame_end_ = now;
}

void DemoRun::write_frame_times() const
{
    if (options_.frame_times_path.empty()) return;
    std::FILE* out = std::fopen(options_.frame_times_path.c_str(), "w");
    if (out == nullptr) {
        std::fprintf(stderr, "vireline: cannot write %s\n", options_.frame_times_path.c_str());
        return;
    }
    const Application* app = app_instance();
    const DeviceInfo* device = app != nullptr ? app->device_info() : nullptr;
    std::fprintf(out, "device %s %s\n", device != nullptr && device->hardware ? "hardware" : "software",
                 device != nullptr ? device->description : "unknown");
    for (const auto& [part, seconds] : frame_times_) std::fprintf(out, "%d %.9f\n", part, seconds);
    std::fclose(out);
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
    if (capture_ != nullptr) {
        capture_->take_frame(app_back_buffer());
        return options_.preview;
    }
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
    return !options_.benchmark_child();
}

void DemoRun::frame_ended()
{
    ++frames_presented_;
    if (clock_ != nullptr) clock_->frame_presented();
    if (fast_forward_) {
        if (capture_ != nullptr) capture_->skip_frame();
        return;
    }
    ++frames_shown_;
    time_frame();
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
    if (capture_ != nullptr && capture_->done()) return true;
    if (options_.frames > 0 && frames_shown_ >= options_.frames) return true;
    if (!options_.part_shots_dir.empty() && part_shots_done_ >= DEMO_PART_COUNT - (options_.start_part - 1)) {
        return true;
    }
    return false;
}
