// The writing end of a capture, one per output form: it takes each frame at the size written together
// with its sound, and at the end flushes and completes the output. The writer's encoder thread is its
// only caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "capture/frame_image.h"

class VideoSink {
public:
    virtual ~VideoSink() = default;
    // samples: sample_frames interleaved stereo pairs. False with a one-line reason.
    virtual bool write(const FrameImage& picture, const std::int16_t* samples, std::size_t sample_frames,
                       std::string* error) = 0;
    // Flushes the encoders and completes the output (trailer, final header); called once.
    virtual bool finish(std::string* error) = 0;
    // Bytes written in all, once finished.
    virtual std::uint64_t bytes() const = 0;
};
