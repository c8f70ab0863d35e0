// The producer's touches applied while the synthesiser's stems are mixed: the pads and bass pump
// against the kick, the lead and arpeggio get a dotted-eighth ping-pong echo, a synthesised kick gives
// the drum kit's kick its weight, filtered noise sweeps up into the drops, and a high-pass keeps the
// pads out of the bass's way. Each effect runs sample by sample and keeps its own state, so the mix can
// be made in one pass over the piece.
#pragma once

#include <cstdint>
#include <vector>

#include "score.h"

namespace soundtrack {

// Gain for the pumping stems at a sample: dips at each kick and recovers over about a beat.
class Pump {
public:
    explicit Pump(const std::vector<std::int64_t>& kicks) : kicks_(kicks) {}
    float gain(std::int64_t at);

private:
    const std::vector<std::int64_t>& kicks_;
    std::size_t next_ = 0;
};

// A gentle (6 dB per octave) high-pass that takes the rumble out of a stem.
class HighPass {
public:
    explicit HighPass(float corner);
    float run(float x);

private:
    float a_;
    float previous_in_ = 0, previous_out_ = 0;
};

// Stereo ping-pong echo with a darkening feedback path.
class Echo {
public:
    Echo(std::int64_t delay, float feedback, float mix);
    void process(float* left, float* right);  // in place: dry plus echoes

private:
    std::vector<float> left_line_, right_line_;
    std::size_t at_ = 0;
    float feedback_, mix_;
    float low_l_ = 0, low_r_ = 0;
};

// The layered kick: a sine that falls from about 150 Hz to 48 Hz with a short click.
class KickLayer {
public:
    explicit KickLayer(const std::vector<std::int64_t>& kicks);
    float sample(std::int64_t at);

private:
    const std::vector<std::int64_t>& kicks_;
    std::vector<float> shape_;
    std::size_t next_ = 0;
    std::int64_t current_ = -1;
};

// Rising noise sweeps: white noise through a resonant band-pass whose centre and level climb.
class NoiseRiser {
public:
    explicit NoiseRiser(const std::vector<Riser>& risers) : risers_(risers) {}
    void add(std::int64_t at, float* left, float* right);

private:
    const std::vector<Riser>& risers_;
    std::uint32_t noise_ = 1;
    std::uint32_t noise_right_ = 7;
    float low_ = 0, band_ = 0;
    float low2_ = 0, band2_ = 0;
};

}  // namespace soundtrack
