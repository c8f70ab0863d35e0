#include "driver/sequencer.h"

#include <utility>

#include "parts/demo_parts.h"

namespace {

constexpr DemoPartFn kParts[DEMO_PART_COUNT] = {
    demo_part_1, demo_part_2, demo_part_3, demo_part_4,  demo_part_5,  demo_part_6,
    demo_part_7, demo_part_8, demo_part_9, demo_part_10, demo_part_11, demo_part_12,
};

PartBeginFn g_on_begin;

}  // namespace

void sequencer_run(Sequencer* sequencer, const DemoPartFn* parts, int part_count, float dt, const PartBeginFn& on_begin)
{
    sequencer->demo_time += dt * 30.0f;
    const int index = sequencer->part_index;
    if (index < 0 || index >= part_count) return;
    if (index != sequencer->begun_index) {
        sequencer->begun_index = index;
        if (on_begin) on_begin(index, dt, sequencer->demo_time);
    }
    // The last part of the table has nowhere to go: it runs on whatever it says.
    if (!parts[index](dt, sequencer->demo_time) && index + 1 < part_count) sequencer->part_index = index + 1;
}

Sequencer& demo_sequencer()
{
    static Sequencer sequencer;
    return sequencer;
}

const DemoPartFn* demo_part_table() { return kParts; }

void sequencer_set_begin_observer(PartBeginFn on_begin) { g_on_begin = std::move(on_begin); }

void run_sequencer(float dt) { sequencer_run(&demo_sequencer(), kParts, DEMO_PART_COUNT, dt, g_on_begin); }
