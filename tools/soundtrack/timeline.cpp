#include "timeline.h"

#include <cmath>

namespace soundtrack {

int timeline_beat_of_ticks(double ticks) {
    const double samples = ticks / 30.0 * kRate;
    return static_cast<int>(std::lround(samples / static_cast<double>(kBeat)));
}

const std::vector<Section>& timeline_sections() {
    static const std::vector<Section> sections = [] {
        // Where each demo part begins, in ticks; the last part runs on for ever, the music gives it
        // eight bars that repeat.
        const double part_starts[] = {0, 650, 1200, 1300, 1500, 2090, 2540, 2740, 3440, 4240, 4840, 5040};
        const Style styles[] = {Style::intro,    Style::build,  Style::stab_break, Style::riser,
                                Style::drive,    Style::flow,   Style::breakdown,  Style::anthem,
                                Style::variation, Style::closing, Style::final_rise, Style::loop};
        std::vector<Section> list;
        for (int i = 0; i < 12; ++i) {
            const int first = timeline_beat_of_ticks(part_starts[i]);
            const int next = i + 1 < 12 ? timeline_beat_of_ticks(part_starts[i + 1]) : first + 32;
            list.push_back({styles[i], first, next - first});
        }
        return list;
    }();
    return sections;
}

std::int64_t timeline_length() { return timeline_sections().back().end_sample(); }

}  // namespace soundtrack
