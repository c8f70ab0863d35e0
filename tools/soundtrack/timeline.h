// The soundtrack's time grid and its sections. One sixteenth is 4736 samples at 44.1 kHz (74 blocks of
// the synthesiser's 64 samples, about 139.7 BPM), so every event lands on a whole block and the music
// renders the same on every run. The sections follow the demo's parts: each starts on the beat nearest
// the moment its part begins, so the music changes where the picture does.
#pragma once

#include <cstdint>
#include <vector>

namespace soundtrack {

constexpr int kRate = 44100;
constexpr std::int64_t kSixteenth = 4736;
constexpr std::int64_t kBeat = 4 * kSixteenth;
constexpr std::int64_t kBar = 4 * kBeat;

enum class Style {
    intro,      // pads and a growing arpeggio, no drums
    build,      // the groove arrives: kick, rolling bass, hats
    stab_break, // a short break on the first notes of the theme
    riser,      // snare roll and noise sweep into the drop
    drive,      // everything with the main theme
    flow,       // the second theme over a calmer groove with strings
    breakdown,  // pads, strings and an echoing lead, no kick
    anthem,     // the main theme with strings and every layer
    variation,  // the second theme an octave up over another progression
    closing,    // a breakdown that climbs back into the full theme
    final_rise, // the last roll into the endless part
    loop,       // a groove that flows back into the opening when it repeats
};

struct Section {
    Style style;
    int first_beat;
    int beats;
    std::int64_t start_sample() const { return first_beat * kBeat; }
    std::int64_t end_sample() const { return (first_beat + beats) * kBeat; }
};

// The sections in order, from beat 0 to the end of the piece.
const std::vector<Section>& timeline_sections();
// Where the piece ends (and loops back to its start), in samples.
std::int64_t timeline_length();
// The beat nearest to a demo time in ticks of 1/30 s.
int timeline_beat_of_ticks(double ticks);

}  // namespace soundtrack
