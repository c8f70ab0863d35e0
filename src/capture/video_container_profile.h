// The FFmpeg choices behind each file form: the muxer, the encoders with their pixel and sample
// formats, the colour description and the options. MP4 is H.264 (libx264, yuv420p, BT.601 limited
// range, flagged as such) with AAC, its index moved to the front when the file is completed;
// Matroska is a lossless master, FFV1 over the frame's own 8-bit RGB with FLAC.
#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/samplefmt.h>
}

#include "capture/video_output.h"

struct VideoContainerProfile {
    const char* muxer;           // FFmpeg's short name
    const char* video_encoder;
    const char* video_label;     // for messages ("H.264")
    AVPixelFormat pixel_format;  // as the encoder takes it
    bool bt601_limited;          // YCbCr in BT.601 limited range, flagged in the stream
    const char* audio_encoder;
    const char* audio_label;
    AVSampleFormat sample_format;
    int audio_bit_rate;          // 0 for a lossless encoder
    const char* muxer_options;   // key=value pairs for the header, ":" separated, or ""
};

// The profile of a file form (not the folder form).
const VideoContainerProfile& video_container_profile(VideoForm form);
