// How the sound of a capture is cut into video frames: frame n owns the samples from
// floor(n·R·den/num) up to floor((n+1)·R·den/num) at R samples per second, so the counts of any run of
// frames add up to exactly the samples of its duration and never drift (at 60000/1001 fps and 44.1 kHz
// frames alternate between 735 and 736 samples). All counts are exact in 64-bit integers for rates and
// frame-rate parts up to kFrameRateLimit.
#pragma once

#include <cstdint>

#include "capture/frame_rate.h"

// The samples before video frame n (the position of its first sample); 0 for n <= 0 or bad rates.
std::int64_t audio_samples_before_frame(std::int64_t n, std::int64_t sample_rate, FrameRate fps);
// The samples that belong to video frame n.
std::int64_t audio_samples_of_frame(std::int64_t n, std::int64_t sample_rate, FrameRate fps);
// The number of frames of a capture seconds long, rounded to the nearest frame (halves round up), so
// the video is within half a frame of the duration asked for; 0 for a negative or non-finite duration.
std::int64_t video_frame_count(double seconds, FrameRate fps);
