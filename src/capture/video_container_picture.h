// The picture stream of an FFmpeg capture: converts each 0xAARRGGBB frame to the encoder's pixel
// format with libswscale (to BT.601 limited-range YCbCr for H.264, unchanged RGB for FFV1), stamps it
// with its frame number in a time base of den/num seconds, so frame n has timestamp n exactly, and
// encodes it. The colour description (matrix, primaries, transfer, range) goes into the stream.
#pragma once

#include <cstdint>
#include <string>

#include "capture/frame_image.h"
#include "capture/video_container_profile.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

class VideoContainerPicture {
public:
    VideoContainerPicture() = default;
    ~VideoContainerPicture();
    VideoContainerPicture(const VideoContainerPicture&) = delete;
    VideoContainerPicture& operator=(const VideoContainerPicture&) = delete;

    // Opens the encoder and adds its stream to format (before the header is written).
    bool open(const VideoContainerProfile& profile, const VideoSettings& settings, AVFormatContext* format,
              std::string* error);
    // picture is settings.width x settings.height.
    bool write(const FrameImage& picture, std::string* error);
    // Drains the encoder at the end.
    bool flush(std::string* error);

private:
    const VideoContainerProfile* profile_ = nullptr;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    SwsContext* convert_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::int64_t next_pts_ = 0;
};
