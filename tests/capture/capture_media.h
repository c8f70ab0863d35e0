// What the capture tests feed the writer and how they look at what came out: synthetic frames that
// carry their own number as a row of black and white cells (readable after lossy coding), a stereo
// tone that runs on across frames, and the independent readers: the ffprobe and ffmpeg programs,
// run on the files the writer made.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "capture/frame_image.h"
#include "capture/frame_rate.h"

// A fresh scratch path under the build tree (any earlier file or folder of that name removed).
std::string capture_scratch(const std::string& name);

// Frame n: a gradient that moves with n, a square that moves across, and n in 12 binary cells.
FrameImage test_frame(int width, int height, std::int64_t n);
// The number a test_frame carries, read from the cells of a (possibly lossy) copy of it.
std::int64_t test_frame_number(const FrameImage& frame);

// Samples [first, first + count) of a stereo tone (left 440 Hz, right 660 Hz) at 44.1 kHz, interleaved.
std::vector<std::int16_t> test_tone(std::int64_t first, std::int64_t count);
// The tone cut into the frames of a capture of frames frames at fps: what each frame is given.
std::vector<std::vector<std::int16_t>> test_tone_frames(std::int64_t frames, FrameRate fps);

// Runs a shell command; its standard output, and *status its exit status.
std::string run_command(const std::string& command, int* status = nullptr);
std::string quoted(const std::string& text);

// ffprobe's streams and format of path in flat form ("streams.stream.0.codec_name" → "h264"), the
// frames counted; empty when ffprobe refuses the file.
std::map<std::string, std::string> probe(const std::string& path);
// The presentation times (seconds) of the video frames of path.
std::vector<double> probe_frame_times(const std::string& path);
// Every video frame of path decoded by ffmpeg as it is stored (no frame-rate conversion).
std::vector<FrameImage> decode_frames(const std::string& path, int width, int height);
// The sound of path decoded by ffmpeg as interleaved 16-bit stereo.
std::vector<std::int16_t> decode_sound(const std::string& path);
