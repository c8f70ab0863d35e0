// Loudness and peak measurement of a stereo piece: integrated loudness after ITU-R BS.1770 (K-weighting,
// 400 ms blocks with 75 % overlap, the absolute gate at -70 LUFS and the relative gate 10 LU down) and
// the true peak from four-times oversampling. Also the longest stretch below a silence threshold.
#pragma once

#include <cstdint>
#include <vector>

namespace soundtrack {

struct Stereo {
    std::vector<float> left, right;
    std::size_t frames() const { return left.size(); }
};

// Integrated loudness in LUFS (-70 or lower for silence).
double loudness_integrated(const Stereo& audio, int rate);
// The largest absolute value between and at the samples, from 4× oversampling (linear, 1 = full scale).
float loudness_true_peak(const Stereo& audio);
// True-peak estimate of one sample position: the largest of the sample and the three points after it.
float true_peak_at(const float* samples, std::size_t count, std::size_t at);
// Length in seconds of the longest run whose 50 ms windows all stay below -60 dBFS RMS.
double loudness_longest_silence(const Stereo& audio, int rate);

}  // namespace soundtrack
