#include "mixdown.h"

#include <fluidsynth.h>

#include <array>
#include <memory>

#include "effects.h"
#include "timeline.h"

namespace soundtrack {
namespace {

std::string* log_sink = nullptr;

void log_to_sink(int level, const char* message, void*) {
    if (log_sink && (level == FLUID_PANIC || level == FLUID_ERR) && log_sink->empty()) *log_sink = message;
}

bool set_int(fluid_settings_t* s, const char* key, int value, std::string* error) {
    if (fluid_settings_setint(s, key, value) == FLUID_OK) return true;
    *error = std::string("FluidSynth refused ") + key;
    return false;
}

bool set_num(fluid_settings_t* s, const char* key, double value, std::string* error) {
    if (fluid_settings_setnum(s, key, value) == FLUID_OK) return true;
    *error = std::string("FluidSynth refused ") + key;
    return false;
}

void apply(fluid_synth_t* synth, const MidiEvent& e) {
    switch (e.kind) {
    case MidiEvent::note_on: fluid_synth_noteon(synth, e.channel, e.a, e.b); break;
    case MidiEvent::note_off: fluid_synth_noteoff(synth, e.channel, e.a); break;
    case MidiEvent::control: fluid_synth_cc(synth, e.channel, e.a, e.b); break;
    case MidiEvent::program: fluid_synth_program_change(synth, e.channel, e.a); break;
    case MidiEvent::pitch_bend: fluid_synth_pitch_bend(synth, e.channel, e.a | (e.b << 7)); break;
    }
}

// Stem levels in the mix.
constexpr float kBassLevel = 0.95f, kDrumLevel = 1.0f, kPadLevel = 0.8f, kLeadLevel = 1.05f, kReverbLevel = 0.9f,
                kChorusLevel = 0.5f, kKickLevel = 0.38f;

}  // namespace

bool mixdown_render(const std::string& soundfont, const Score& score, std::int64_t frames, Stereo* master,
                    std::string* error) {
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, log_to_sink, nullptr);
    log_sink = error;
    std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> settings(new_fluid_settings(), delete_fluid_settings);
    if (!settings) {
        *error = "FluidSynth settings failed";
        return false;
    }
    fluid_settings_t* s = settings.get();
    if (!set_num(s, "synth.sample-rate", kRate, error) || !set_int(s, "synth.audio-groups", 4, error) ||
        !set_int(s, "synth.audio-channels", 4, error) || !set_int(s, "synth.cpu-cores", 1, error) ||
        !set_int(s, "synth.dynamic-sample-loading", 0, error) || !set_int(s, "synth.polyphony", 256, error) ||
        !set_num(s, "synth.gain", 0.5, error) || !set_int(s, "synth.reverb.active", 1, error) ||
        !set_num(s, "synth.reverb.room-size", 0.78, error) || !set_num(s, "synth.reverb.damp", 0.35, error) ||
        !set_num(s, "synth.reverb.width", 1.0, error) || !set_num(s, "synth.reverb.level", 0.9, error) ||
        !set_int(s, "synth.chorus.active", 1, error) || !set_int(s, "synth.verbose", 0, error))
        return false;
    std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)> synth(new_fluid_synth(s), delete_fluid_synth);
    if (!synth || fluid_synth_sfload(synth.get(), soundfont.c_str(), 1) == FLUID_FAILED) {
        if (error->empty()) *error = "cannot load the soundfont " + soundfont;
        log_sink = nullptr;
        return false;
    }

    const std::size_t total = static_cast<std::size_t>(frames);
    master->left.assign(total, 0.0f);
    master->right.assign(total, 0.0f);
    constexpr std::size_t kBlock = 4096;
    std::array<std::vector<float>, 12> planes;  // 4 stems × 2, reverb L/R, chorus L/R
    for (auto& p : planes) p.resize(kBlock);
    std::array<float*, 8> out{};
    std::array<float*, 4> fx{};
    for (int i = 0; i < 8; ++i) out[static_cast<std::size_t>(i)] = planes[static_cast<std::size_t>(i)].data();
    for (int i = 0; i < 4; ++i) fx[static_cast<std::size_t>(i)] = planes[static_cast<std::size_t>(8 + i)].data();

    Pump pump(score.kicks);
    HighPass pad_left(150.0f), pad_right(150.0f);  // the pads leave the low end to kick and bass
    HighPass dc_left(18.0f), dc_right(18.0f);      // no offset or rumble below the music on the master
    Echo echo(3 * kSixteenth, 0.42f, 0.32f);
    KickLayer kick(score.kicks);
    NoiseRiser riser(score.risers);
    std::size_t next_event = 0;
    std::int64_t at = 0;
    while (at < frames) {
        while (next_event < score.events.size() && score.events[next_event].sample <= at)
            apply(synth.get(), score.events[next_event++]);
        std::int64_t until = std::min<std::int64_t>(frames, at + static_cast<std::int64_t>(kBlock));
        if (next_event < score.events.size()) until = std::min(until, score.events[next_event].sample);
        const int count = static_cast<int>(until - at);
        for (auto& p : planes) std::fill(p.begin(), p.begin() + count, 0.0f);
        if (fluid_synth_process(synth.get(), count, 4, fx.data(), 8, out.data()) != FLUID_OK) {
            *error = "FluidSynth failed while rendering";
            log_sink = nullptr;
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            const std::int64_t t = at + i;
            const float g = pump.gain(t);
            float lead_l = planes[6][k] * kLeadLevel;
            float lead_r = planes[7][k] * kLeadLevel;
            echo.process(&lead_l, &lead_r);
            const float k_layer = kick.sample(t) * kKickLevel;
            const float pad_l = pad_left.run(planes[4][k]);
            const float pad_r = pad_right.run(planes[5][k]);
            float l = planes[0][k] * kBassLevel * g + planes[2][k] * kDrumLevel + pad_l * kPadLevel * g + lead_l +
                      (planes[8][k] * kReverbLevel + planes[10][k] * kChorusLevel) * (0.6f + 0.4f * g) + k_layer;
            float r = planes[1][k] * kBassLevel * g + planes[3][k] * kDrumLevel + pad_r * kPadLevel * g + lead_r +
                      (planes[9][k] * kReverbLevel + planes[11][k] * kChorusLevel) * (0.6f + 0.4f * g) + k_layer;
            riser.add(t, &l, &r);
            master->left[static_cast<std::size_t>(t)] = dc_left.run(l);
            master->right[static_cast<std::size_t>(t)] = dc_right.run(r);
        }
        at = until;
    }
    log_sink = nullptr;
    error->clear();
    return true;
}

}  // namespace soundtrack
