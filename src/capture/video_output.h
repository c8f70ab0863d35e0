// What a capture writes and where: its settings, and the form its path asks for. A path ending in
// ".mp4" is a file to watch and share (H.264 in BT.601 limited range, AAC), ".mkv" a lossless master
// (FFV1 in RGB, FLAC), and a path ending in "/" or naming an existing folder a numbered PNG per frame
// with the sound as one WAV file. Settings are checked once, up front, so every mistake is reported
// before anything is written.
#pragma once

#include <cstdint>
#include <string>

#include "capture/frame_rate.h"

enum class VideoForm { mp4, mkv, folder };

struct VideoSettings {
    std::string path;
    FrameRate fps;
    // The size of every frame handed to the writer.
    int frame_width = 640;
    int frame_height = 480;
    // The size written; 0 means the frame size. Larger than the frame: the frame is centred on black.
    int width = 0;
    int height = 0;
    // Samples per second of the interleaved 16-bit stereo sound given with the frames.
    int sample_rate = 44100;
    // Frames waiting between the renderer and the encoder.
    int queue_frames = 3;
    // H.264 only: x264's speed preset and constant rate factor (0 to 51, lower is better).
    std::string x264_preset = "veryfast";
    int x264_crf = 18;
};

// The form of path; false with a reason for a path that names none (such as "capture.avi").
bool video_form_of_path(const std::string& path, VideoForm* form, std::string* error);
// Checks the settings for form and fills in the size written; false with a reason.
bool video_settings_resolve(VideoSettings* settings, VideoForm form, std::string* error);
const char* video_form_name(VideoForm form);
