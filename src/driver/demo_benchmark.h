// The demo's own benchmark (--benchmark): the whole timeline, headless, at a fixed step of 1/60 s (the
// finite parts and 20 s of the last), every frame drawn and none presented, on each device there is
// (or the one --device names). Each part is timed in a run of its own that starts there (--start), the
// devices taking turns part by part in alternating order, so a machine's drift falls on both alike.
// The table gives every part's frames, median and 99th-percentile frame time and frames per second on
// each device, then the whole run's; with both devices the software device's speed over OpenGL's.
// --frames N keeps at most N frames of each part (a quick look); --json FILE writes the same figures.
#pragma once

#include <string>
#include <vector>

#include "driver/demo_options.h"

// The figures of one part (or the whole run) on one device.
struct BenchmarkFigures {
    long long frames = 0;
    double median_ms = 0.0;
    double p99_ms = 0.0;
    double fps = 0.0;
};

// Frame times in seconds → figures (the 99th percentile by nearest rank).
BenchmarkFigures benchmark_figures(std::vector<double> seconds);

// Runs the benchmark with program (argv[0]) as the timed runs' program; the exit status.
int demo_benchmark(const DemoOptions& options, const char* program);
