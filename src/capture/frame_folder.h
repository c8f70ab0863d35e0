// The folder form of a capture: each frame as a PNG file numbered from 000000.png (six digits, more
// past a million frames) and the sound as audio.wav beside them. Each picture is written under a
// temporary name and renamed when complete, and the WAV is valid after every frame, so an interrupted
// capture leaves only whole files. A folder that already holds a capture (000000.png or audio.wav) is
// refused rather than mixed with the new frames.
#pragma once

#include <memory>
#include <string>

#include "capture/video_output.h"
#include "capture/video_sink.h"

// The folder (created if missing) is settings.path; null with a reason.
std::unique_ptr<VideoSink> frame_folder_open(const VideoSettings& settings, std::string* error);
// The name of frame n inside the folder ("000042.png").
std::string frame_folder_name(std::int64_t n);
