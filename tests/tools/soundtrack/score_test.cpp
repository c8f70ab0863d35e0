// The composed score as the synthesiser will play it: set-up before the first note, every note ended,
// every event on the synthesiser's block grid, and sections that start where the demo's parts do.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "score.h"
#include "timeline.h"

namespace {

using soundtrack::MidiEvent;

TEST(SoundtrackScore, EveryChannelIsSetUpBeforeItsFirstNoteAndEveryNoteEnds) {
    const soundtrack::Score score = soundtrack::score_compose(soundtrack::kBar);
    ASSERT_FALSE(score.events.empty());
    std::set<int> programmed;
    std::map<std::pair<int, int>, int> sounding;  // (channel, key) → open note-ons
    for (std::size_t i = 0; i < score.events.size(); ++i) {
        const MidiEvent& e = score.events[i];
        if (i > 0) {
            const MidiEvent& before = score.events[i - 1];
            ASSERT_TRUE(before.sample < e.sample || (before.sample == e.sample && before.kind <= e.kind)) << i;
        }
        EXPECT_EQ(e.sample % 64, 0) << "event " << i << " is off the 64-sample grid";
        if (e.kind == MidiEvent::program) programmed.insert(e.channel);
        if (e.kind == MidiEvent::note_on) {
            EXPECT_TRUE(programmed.count(e.channel)) << "channel " << int(e.channel) << " plays before its program";
            EXPECT_GT(e.b, 0) << "a note-on of velocity 0 would be a note-off";
            ++sounding[{e.channel, e.a}];
        }
        if (e.kind == MidiEvent::note_off) {
            auto it = sounding.find({e.channel, e.a});
            ASSERT_NE(it, sounding.end()) << "note-off without a note at " << e.sample;
            if (--it->second == 0) sounding.erase(it);
        }
    }
    EXPECT_TRUE(sounding.empty()) << sounding.size() << " notes never end";
    EXPECT_TRUE(std::is_sorted(score.kicks.begin(), score.kicks.end()));
    const std::int64_t rendered = soundtrack::timeline_length() + soundtrack::kBar;
    EXPECT_LE(score.events.back().sample, rendered + 16 * soundtrack::kBar);
}

TEST(SoundtrackScore, SectionsStartOnTheBeatNearestEachDemoPart) {
    const double part_starts_s[] = {0, 21.667, 40, 43.333, 50, 69.667, 84.667, 91.333, 114.667, 141.333, 161.333, 168};
    const auto& sections = soundtrack::timeline_sections();
    ASSERT_EQ(sections.size(), 12u);
    const double beat_s = static_cast<double>(soundtrack::kBeat) / soundtrack::kRate;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const double start_s = static_cast<double>(sections[i].start_sample()) / soundtrack::kRate;
        EXPECT_NEAR(start_s, part_starts_s[i], beat_s / 2 + 0.01) << "section " << i;
        if (i > 0) {
            EXPECT_EQ(sections[i].first_beat, sections[i - 1].first_beat + sections[i - 1].beats);
        }
    }
    // About three minutes, the endless part's music a whole number of bars.
    const double length_s = static_cast<double>(soundtrack::timeline_length()) / soundtrack::kRate;
    EXPECT_GT(length_s, 175.0);
    EXPECT_LT(length_s, 190.0);
    EXPECT_EQ(sections.back().beats % 4, 0);
}

}  // namespace
