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
#pragma once

#include <cstdio>
#include <string>

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
};

enum class DemoParse { Run, Exit };

// Reads argv[1..]. Exit: --help or --version printed to out (status 0), or a one-line error on err
// (status 2), as *exit_status says.
DemoParse demo_options_parse(int argc, const char* const* argv, DemoOptions* options, int* exit_status,
                             std::FILE* out, std::FILE* err);

std::string demo_usage();
