#include "score.h"

#include <algorithm>
#include <array>

#include "timeline.h"

namespace soundtrack {
namespace {

struct Chord {
    int root;   // MIDI key in the octave from A2 (45) up
    bool minor;
};
using Progression = std::array<Chord, 4>;

// A minor: i-VI-III-VII, VI-III-VII-i, iv-VI-i-VII.
constexpr Chord kAm{45, true}, kF{41, false}, kC{48, false}, kG{43, false}, kDm{50, true};
constexpr Progression kMain{kAm, kF, kC, kG};
constexpr Progression kSecond{kF, kC, kG, kAm};
constexpr Progression kThird{kDm, kF, kAm, kG};

struct Note {
    int step;    // sixteenth within the bar
    int key;
    int length;  // sixteenths
};
using Bar = std::vector<Note>;

Bar bar_of(std::initializer_list<std::pair<int, int>> keys_and_lengths) {
    Bar bar;
    int step = 0;
    for (const auto& [key, length] : keys_and_lengths) {
        if (key > 0) bar.push_back({step, key, length});
        step += length;
    }
    return bar;
}

// Keys: C5 = 72. Each theme has one bar per chord of its progression.
const std::array<Bar, 4>& theme_main() {
    static const std::array<Bar, 4> bars{
        bar_of({{76, 3}, {76, 3}, {81, 2}, {79, 2}, {76, 2}, {74, 2}, {72, 2}}),
        bar_of({{72, 3}, {72, 3}, {77, 2}, {76, 2}, {72, 2}, {69, 4}}),
        bar_of({{67, 3}, {72, 3}, {76, 2}, {79, 2}, {76, 2}, {72, 2}, {74, 2}}),
        bar_of({{74, 3}, {71, 3}, {74, 2}, {76, 8}}),
    };
    return bars;
}

const std::array<Bar, 4>& theme_second() {
    static const std::array<Bar, 4> bars{
        bar_of({{69, 2}, {72, 2}, {77, 2}, {81, 4}, {79, 2}, {77, 2}, {72, 2}}),
        bar_of({{67, 2}, {72, 2}, {76, 2}, {79, 4}, {76, 2}, {74, 2}, {72, 2}}),
        bar_of({{71, 2}, {74, 2}, {79, 2}, {83, 4}, {81, 2}, {79, 2}, {74, 2}}),
        bar_of({{72, 2}, {76, 2}, {81, 6}, {79, 2}, {76, 4}}),
    };
    return bars;
}

const std::array<Bar, 4>& theme_third() {
    static const std::array<Bar, 4> bars{
        bar_of({{74, 2}, {77, 2}, {81, 3}, {79, 1}, {77, 2}, {76, 2}, {74, 4}}),
        bar_of({{72, 2}, {77, 2}, {81, 3}, {84, 1}, {81, 2}, {79, 2}, {77, 4}}),
        bar_of({{76, 2}, {81, 2}, {84, 3}, {83, 1}, {81, 2}, {79, 2}, {76, 4}}),
        bar_of({{74, 2}, {79, 2}, {83, 4}, {81, 4}, {79, 4}}),
    };
    return bars;
}

// Drum keys of the General MIDI kit.
constexpr int kKick = 36, kSnare = 38, kClap = 39, kSnare2 = 40, kHatClosed = 42, kHatOpen = 46, kCrash = 49,
              kRide = 51;

class Writer {
public:
    explicit Writer(Score* score) : score_(score) {}

    void event(std::int64_t at, MidiEvent::Kind kind, int channel, int a, int b) {
        score_->events.push_back({at, kind, static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(a),
                                  static_cast<std::uint8_t>(std::clamp(b, 0, 127))});
    }
    // A note from at for length samples; both ends snap to the synthesiser's 64-sample blocks.
    void note(std::int64_t at, std::int64_t length, int channel, int key, int velocity) {
        const std::int64_t start = at / 64 * 64;
        const std::int64_t end = std::max(start + 64, (at + length) / 64 * 64);
        event(start, MidiEvent::note_on, channel, key, std::max(1, velocity));
        event(end, MidiEvent::note_off, channel, key, 0);
    }
    void kick(std::int64_t at, int velocity) {
        note(at, kSixteenth, kDrums, kKick, velocity);
        score_->kicks.push_back(at);
    }
    void riser(std::int64_t start, std::int64_t end) { score_->risers.push_back({start, end}); }

private:
    Score* score_;
};

std::array<int, 3> triad(const Chord& chord) {
    return {chord.root, chord.root + (chord.minor ? 3 : 4), chord.root + 7};
}

struct Layers {
    const Progression* progression = &kMain;
    const std::array<Bar, 4>* theme = nullptr;
    int theme_octave = 0;
    bool pad = true, strings = false, arp = false, bass = false, kick = false, hats = false, clap = false,
         open_hats = false, ride = false, roll = false, crash = true;
    int arp_velocity_from = 70, arp_velocity_to = 70;
    int lead_velocity = 100;
    int drums_stop_beats = 0;  // the last beats of the section without drums and bass
};

Layers layers_of(Style style) {
    Layers l;
    switch (style) {
    case Style::intro:
        l.arp = true;
        l.arp_velocity_from = 30;
        l.arp_velocity_to = 95;
        l.crash = false;
        break;
    case Style::build:
        l.arp = l.bass = l.kick = l.hats = true;
        break;
    case Style::stab_break:
        l.theme = &theme_main();
        l.strings = true;
        l.lead_velocity = 90;
        break;
    case Style::riser:
        l.arp = l.roll = true;
        l.progression = &kSecond;
        l.arp_velocity_from = 70;
        l.arp_velocity_to = 110;
        break;
    case Style::drive:
        l.theme = &theme_main();
        l.arp = l.bass = l.kick = l.hats = l.clap = l.open_hats = true;
        break;
    case Style::flow:
        l.progression = &kSecond;
        l.theme = &theme_second();
        l.strings = l.bass = l.kick = l.hats = true;
        l.lead_velocity = 92;
        break;
    case Style::breakdown:
        l.progression = &kThird;
        l.strings = l.arp = true;
        l.theme = &theme_third();
        l.lead_velocity = 80;
        break;
    case Style::anthem:
        l.theme = &theme_main();
        l.strings = l.arp = l.bass = l.kick = l.hats = l.clap = l.open_hats = l.ride = true;
        l.lead_velocity = 110;
        break;
    case Style::variation:
        l.progression = &kThird;
        l.theme = &theme_third();
        l.arp = l.bass = l.kick = l.hats = l.clap = l.open_hats = true;
        l.lead_velocity = 105;
        break;
    case Style::closing:
        l.progression = &kSecond;
        l.theme = &theme_second();
        l.strings = l.arp = l.bass = l.kick = l.hats = l.clap = l.open_hats = true;
        l.lead_velocity = 108;
        break;
    case Style::final_rise:
        l.progression = &kThird;
        l.arp = l.roll = l.strings = true;
        l.arp_velocity_from = 80;
        l.arp_velocity_to = 115;
        break;
    case Style::loop:
        l.arp = l.bass = l.kick = l.hats = l.open_hats = true;
        // Darkens towards the opening's level and drops the drums for the last bar, so that going round
        // again sounds like the piece falling back into its beginning.
        l.arp_velocity_from = 90;
        l.arp_velocity_to = 40;
        l.drums_stop_beats = 4;
        break;
    }
    return l;
}

void write_section(Writer& w, const Section& section) {
    const Layers l = layers_of(section.style);
    const std::int64_t start = section.start_sample();
    const std::int64_t end = section.end_sample();
    const int beats = section.beats;
    const std::int64_t drums_end = end - l.drums_stop_beats * kBeat;
    // The closing section opens with four bars of breakdown before the drums come back.
    const std::int64_t drums_start = section.style == Style::closing ? start + 4 * kBar : start;

    if (l.crash) {
        w.note(start, kBeat * 2, kDrums, kCrash, 110);
        w.kick(start, 120);
    }

    // Harmony: one chord per bar, cut where the section ends.
    for (int bar = 0; bar * 4 < beats; ++bar) {
        const Chord& chord = (*l.progression)[static_cast<std::size_t>(bar % 4)];
        const std::array<int, 3> t = triad(chord);
        const std::int64_t bar_start = start + bar * kBar;
        const std::int64_t bar_end = std::min(end, bar_start + kBar);
        if (l.pad) {
            w.note(bar_start, bar_end - bar_start, kPad, t[0] + 12, 72);
            w.note(bar_start, bar_end - bar_start, kPad, t[1] + 12, 66);
            w.note(bar_start, bar_end - bar_start, kPad, t[2] + 12, 66);
        }
        if (l.strings) {
            w.note(bar_start, bar_end - bar_start, kStrings, t[0] + 24, 70);
            w.note(bar_start, bar_end - bar_start, kStrings, t[1] + 24, 64);
            w.note(bar_start, bar_end - bar_start, kStrings, t[2] + 12, 64);
        }
        if (l.theme) {
            const Bar& melody = (*l.theme)[static_cast<std::size_t>(bar % 4)];
            for (const Note& n : melody) {
                const std::int64_t at = bar_start + n.step * kSixteenth;
                if (at >= bar_end) break;
                const std::int64_t length = std::min<std::int64_t>(n.length * kSixteenth - 256, bar_end - at);
                const int accent = n.step % 4 == 0 ? 8 : 0;
                w.note(at, length, kLead, n.key + 12 * l.theme_octave, l.lead_velocity + accent - 8);
                w.note(at, length, kLeadDouble, n.key + 12 * l.theme_octave, l.lead_velocity + accent - 20);
            }
        }
        for (int step = 0; step < 16; ++step) {
            const std::int64_t at = bar_start + step * kSixteenth;
            if (at >= bar_end) break;
            const bool drums_here = at >= drums_start && at < drums_end;
            if (l.arp) {
                static constexpr int pattern[16] = {0, 2, 1, 3, 2, 4, 3, 2, 0, 2, 1, 3, 2, 4, 3, 1};
                const int tones[5] = {t[0] + 12, t[1] + 12, t[2] + 12, t[0] + 24, t[1] + 24};
                const double progress = static_cast<double>(at - start) / static_cast<double>(end - start);
                const int velocity = l.arp_velocity_from +
                                     static_cast<int>((l.arp_velocity_to - l.arp_velocity_from) * progress) +
                                     (step % 4 == 0 ? 10 : 0);
                w.note(at, kSixteenth - 1024, kArp, tones[pattern[step]], velocity);
            }
            if (l.bass && drums_here && step % 4 != 0) {
                const int octave = section.style == Style::variation && step % 4 == 2 ? 12 : 0;
                w.note(at, kSixteenth - 1216, kBass, chord.root - 12 + octave, step % 4 == 2 ? 112 : 100);
            }
            if (l.kick && drums_here && step % 4 == 0 && !(l.crash && at == start)) w.kick(at, 118);
            if (l.hats && drums_here) {
                if (step % 4 == 2 && l.open_hats) w.note(at, kSixteenth * 2, kDrums, kHatOpen, 80);
                else w.note(at, kSixteenth / 2, kDrums, kHatClosed, step % 2 == 0 ? 70 : 52);
            }
            if (l.clap && drums_here && step % 8 == 4) {
                w.note(at, kSixteenth, kDrums, kClap, 105);
                w.note(at, kSixteenth, kDrums, kSnare2, 80);
            }
            if (l.ride && drums_here && step % 4 == 2) w.note(at, kSixteenth, kDrums, kRide, 60);
        }
    }

    if (l.roll) {
        // Sixteenths, then thirty-seconds over the last beat and a half, ever louder.
        const std::int64_t roll_start = start;
        for (std::int64_t at = roll_start; at < end;) {
            const double progress = static_cast<double>(at - roll_start) / static_cast<double>(end - roll_start);
            w.note(at, kSixteenth / 2, kDrums, kSnare, 40 + static_cast<int>(80 * progress));
            at += end - at <= 6 * kSixteenth ? kSixteenth / 2 : kSixteenth;
        }
        w.riser(start, end);
    }
    if (section.style == Style::intro) w.riser(end - 2 * kBar, end);
    if (section.style == Style::stab_break) w.riser(start + kBeat * 4, end);
}

void sort_events(std::vector<MidiEvent>& events) {
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        if (a.sample != b.sample) return a.sample < b.sample;
        return a.kind < b.kind;  // set-up, then note-offs, then note-ons at the same moment
    });
}

}  // namespace

Score score_compose(std::int64_t extension) {
    Score score;
    Writer w(&score);
    // Set-up: programs (General MIDI, counted from 0; on the drum channel 24 is the electronic kit),
    // levels, pans and effect sends.
    struct Setup {
        int channel, program, volume, pan, reverb, chorus;
    };
    const Setup setups[] = {
        {kBass, 39, 100, 64, 0, 0},     {kPad, 89, 92, 64, 70, 60},    {kLead, 81, 100, 44, 45, 20},
        {kStrings, 50, 84, 70, 80, 40}, {kArp, 81, 82, 50, 35, 10},   {kDrums, 24, 110, 64, 18, 0},
        {kLeadDouble, 81, 92, 84, 50, 30},
    };
    for (const Setup& s : setups) {
        w.event(0, MidiEvent::program, s.channel, s.program, 0);
        w.event(0, MidiEvent::control, s.channel, 7, s.volume);
        w.event(0, MidiEvent::control, s.channel, 10, s.pan);
        w.event(0, MidiEvent::control, s.channel, 91, s.reverb);
        w.event(0, MidiEvent::control, s.channel, 93, s.chorus);
    }
    // The two leads 9 cents either side of the pitch (the bend range is two semitones over 8192 steps).
    for (const auto& [channel, bend] : {std::pair{kLead, 8192 - 369}, std::pair{kLeadDouble, 8192 + 369}})
        w.event(0, MidiEvent::pitch_bend, channel, bend & 0x7F, bend >> 7);
    const std::size_t setup_count = score.events.size();
    for (const Section& section : timeline_sections()) write_section(w, section);

    // The start once more after the end: notes that begin within the extension.
    const std::int64_t length = timeline_length();
    const std::size_t written = score.events.size();
    std::vector<MidiEvent> sorted(score.events.begin() + static_cast<std::ptrdiff_t>(setup_count),
                                  score.events.begin() + static_cast<std::ptrdiff_t>(written));
    sort_events(sorted);
    for (const MidiEvent& e : sorted) {
        if (e.kind != MidiEvent::note_on || e.sample >= extension) continue;
        // Find this note's end among the later events.
        std::int64_t off = e.sample + 64;
        for (const MidiEvent& f : sorted)
            if (f.sample > e.sample && f.kind == MidiEvent::note_off && f.channel == e.channel && f.a == e.a) {
                off = f.sample;
                break;
            }
        w.event(length + e.sample, MidiEvent::note_on, e.channel, e.a, e.b);
        w.event(length + off, MidiEvent::note_off, e.channel, e.a, 0);
    }
    const std::size_t kick_count = score.kicks.size();
    for (std::size_t i = 0; i < kick_count; ++i)
        if (score.kicks[i] < extension) score.kicks.push_back(length + score.kicks[i]);
    sort_events(score.events);
    std::sort(score.kicks.begin(), score.kicks.end());
    return score;
}

}  // namespace soundtrack
