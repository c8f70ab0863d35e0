// The demo's command line on Linux. With no options the program runs as it always has: the Settings
// dialog, the window, the music, every part in order on the real clock, until Escape or closing. The
// framework's options (device, window or full screen, mode, dialog, vsync, data folder, headless) and
// these extensions are all listed by --help:
//   --fixed-step S   a virtual clock: every presented frame is S seconds (decimal, or p/q like 1/60)
//   --frames N       stop after N presented frames (from the start part's first frame), then shut down
//   --start PART     fast-forward, without drawing or presenting, to the first frame of part 1 … 12
//   --timeline       one JSON line per part on standard output as it begins
//   --fps-cap N      show at most N frames per second (real clock only)
//   --shot FILE      with --frames: write the last frame as a PNG
//   --part-shots DIR write one PNG of every part into DIR (part-01.png …), then stop
//   --capture OUT    write the demo as a video (OUT.mp4, OUT.mkv or a folder OUT/) on a virtual clock at
//                    --fps (60), for --duration seconds (the finite parts and 20 s of the last), at
//                    --size WxH (re-rendered in that mode), --pad WxH (centred on black), --rt-scale K
//                    (render targets K times larger), --preview (show the frames in the window too)
//   --benchmark      time every part headless at 1/60 s on each device (or --device), --json FILE too
#pragma once

#include <cstdio>
#include <string>

#include "capture/frame_rate.h"
#include "driver/demo_clock.h"
#include "framework/command_line.h"

struct DemoOptions {
    FrameworkOptions framework;
    bool fixed_step_given = false;
    FixedStep fixed_step;
    long long frames = 0;  // 0: no limit
    int start_part = 1;    // 1 … 12
    bool timeline = false;
    double fps_cap = 0.0;  // 0: none
    std::string shot_path;
    std::string part_shots_dir;

    std::string capture_path;         // empty: no capture
    FrameRate capture_fps{60, 1};
    double capture_duration = -1.0;   // seconds; below 0: the finite parts and 20 s of the last
    int capture_width = 0;            // --size; 0: 640 × 480 windowed
    int capture_height = 0;
    int pad_width = 0;                // --pad; 0: none
    int pad_height = 0;
    int rt_scale = 1;
    bool preview = false;

    bool benchmark = false;
    std::string json_path;            // --json with --benchmark
    std::string frame_times_path;     // --frame-times FILE: one line per shown frame (benchmark runs)

    // A run timed for the benchmark draws every frame but presents none.
    bool benchmark_child() const { return !frame_times_path.empty(); }
};

enum class DemoParse { Run, Exit };

// Reads argv[1..]. Exit: --help or --version printed to out (status 0), or a one-line error on err
// (status 2), as *exit_status says.
DemoParse demo_options_parse(int argc, const char* const* argv, DemoOptions* options, int* exit_status,
                             std::FILE* out, std::FILE* err);

std::string demo_usage();
