// The scene sequencer: a twelve-state machine over the demo parts. Each frame it adds the frame delta
// × 30 to the demo time (ticks of 1/30 s) first, then calls the current part with (delta, demo time);
// when the part reports its end, the next part gets its first call in the next frame. No part is
// called twice in one frame, so one frame ends at most one part; the last part never ends.
#pragma once

#include <functional>

using DemoPartFn = bool (*)(float dt, float demo_time);

constexpr int DEMO_PART_COUNT = 12;

struct Sequencer {
    int part_index = 0;       // 0 … 11
    float demo_time = 0.0f;   // ticks
    int begun_index = -1;     // the last part that had its first call
};

// Told when a part gets its first call, before the call: the part (0 … 11), the delta and demo time it
// is called with.
using PartBeginFn = std::function<void(int part_index, float dt, float demo_time)>;

// One frame on a sequencer over any table of parts (tests give their own).
void sequencer_run(Sequencer* sequencer, const DemoPartFn* parts, int part_count, float dt,
                   const PartBeginFn& on_begin = {});

// The program's sequencer over the twelve demo parts.
Sequencer& demo_sequencer();
const DemoPartFn* demo_part_table();
void sequencer_set_begin_observer(PartBeginFn on_begin);
void run_sequencer(float dt);
