// How one run of the demo is steered on Linux, beyond what the demo itself does: it watches every
// frame the parts end (FrameObserver) and every part that begins (the sequencer's observer). It drives
// the virtual clock (one step per presented frame), fast-forwards to the start part (the earlier
// frames' logic runs with draws discarded and nothing presented; they count as presented for the
// clock), prints the timeline, writes the frames asked for as PNG files (the last frame of --frames,
// one frame of every part, F12), hands every shown frame to a capture, times every shown frame for the
// benchmark (--frame-times), caps the frame rate, and says when the run is to stop.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/demo_clock.h"
#include "driver/demo_options.h"
#include "driver/frame_loop.h"
#include "driver/sequencer.h"

class DemoCapture;

class DemoRun final : public FrameObserver {
public:
    // clock: the timer's clock when the run has a virtual one, else null. timeline: where its lines go.
    // capture: where shown frames go, or null.
    DemoRun(const DemoOptions& options, DemoClock* clock, std::string shot_folder, std::FILE* timeline = stdout,
            DemoCapture* capture = nullptr);
    ~DemoRun() override;
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;

    // Installs the observers and, for a later start part, begins the fast-forward.
    void begin();
    // After every loop pass.
    void pass_done();
    bool should_stop() const;

    bool before_present() override;
    void frame_ended() override;

    long long frames_presented() const { return frames_presented_; }
    long long frames_shown() const { return frames_shown_; }
    bool fast_forwarding() const { return fast_forward_; }

private:
    void part_begins(int part_index, float dt, float demo_time);
    void write_frame(const std::string& path, const char* what);
    void time_frame();
    void write_frame_times() const;

    DemoOptions options_;
    DemoClock* clock_;
    std::string shot_folder_;
    std::FILE* timeline_;
    DemoCapture* capture_;
    long long passes_ = 0;
    long long frames_presented_ = 0;
    long long frames_shown_ = 0;
    bool fast_forward_ = false;
    float part_begin_time_[DEMO_PART_COUNT] = {};
    bool part_shot_[DEMO_PART_COUNT] = {};
    int part_shots_done_ = 0;
    int screenshot_number_ = 0;
    std::chrono::steady_clock::time_point last_shown_{};
    // --frame-times: the part and seconds of every shown frame, timed from the end of the frame before.
    std::chrono::steady_clock::time_point last_frame_end_{};
    std::vector<std::pair<int, double>> frame_times_;
};

// Nominal lengths of the parts in ticks (the last: how much of it a part shot waits for, doubled).
extern const float DEMO_PART_NOMINAL_TICKS[DEMO_PART_COUNT];
