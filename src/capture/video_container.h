// The file forms of a capture through the FFmpeg libraries: one muxer (MP4 or Matroska, see
// video_container_profile.h) with a picture stream and a sound stream. The encoders are opened before
// the file is created, so a missing encoder or a size it refuses leaves nothing behind; finishing
// drains both encoders and writes the trailer (for MP4 the index, moved to the front of the file).
// MP4 keeps frame n at exactly n·den/num seconds; Matroska stores times in whole milliseconds, so
// there each frame is within half a millisecond of it. Closed before the first frame, an MP4 holds no
// tracks (FFmpeg leaves empty ones out) and a Matroska file its tracks with one empty cluster. An MP4
// is playable only once finished; a Matroska file whose process was killed keeps its frames but lacks
// its index and duration.
#pragma once

#include <memory>
#include <string>

#include "capture/video_output.h"
#include "capture/video_sink.h"

// form is mp4 or mkv; settings resolved. Null with a reason.
std::unique_ptr<VideoSink> video_container_open(const VideoSettings& settings, VideoForm form, std::string* error);
