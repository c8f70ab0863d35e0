// The composition: every note of the soundtrack as timed synthesiser events, written out section by
// section from a handful of chord progressions, two-bar themes and drum patterns. Nothing is random;
// the same code gives the same events. Besides the synthesiser's events the score lists where the
// kick drum falls (for the layered kick and the pumping of pads and bass) and where noise risers go.
#pragma once

#include <cstdint>
#include <vector>

namespace soundtrack {

// Synthesiser channels by role. Each channel's audio lands in the stem channel % 4.
// The lead is doubled on a second channel, detuned against the first and panned the other way.
enum Channel : int { kBass = 0, kPad = 2, kLead = 3, kStrings = 6, kArp = 7, kDrums = 9, kLeadDouble = 11 };

struct MidiEvent {
    // In the order events at one moment are applied: set-up first, then note-offs, then note-ons.
    enum Kind : std::uint8_t { program, control, pitch_bend, note_off, note_on };
    std::int64_t sample;
    Kind kind;
    std::uint8_t channel;
    std::uint8_t a;  // key, controller, program or the bend's low 7 bits
    std::uint8_t b;  // velocity, value or the bend's high 7 bits
};

struct Riser {
    std::int64_t start;
    std::int64_t end;
};

struct Score {
    std::vector<MidiEvent> events;    // sorted by time, then by kind
    std::vector<std::int64_t> kicks;  // sorted
    std::vector<Riser> risers;
};

// The whole piece, plus its first extension samples once more right after its end, so that what
// rings on from the end can be folded into the start.
Score score_compose(std::int64_t extension);

}  // namespace soundtrack
