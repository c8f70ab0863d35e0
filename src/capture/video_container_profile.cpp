#include "capture/video_container_profile.h"

namespace {

const VideoContainerProfile kMp4{
    "mp4", "libx264", "H.264", AV_PIX_FMT_YUV420P, true, "aac", "AAC", AV_SAMPLE_FMT_FLTP, 192000, "movflags=+faststart",
};

// The frame's 0xAARRGGBB words in memory are B, G, R, A bytes (native 0RGB32): FFV1 takes them as they are.
const VideoContainerProfile kMkv{
    "matroska", "ffv1", "FFV1", AV_PIX_FMT_0RGB32, false, "flac", "FLAC", AV_SAMPLE_FMT_S16, 0, "",
};

}  // namespace

const VideoContainerProfile& video_container_profile(VideoForm form)
{
    return form == VideoForm::mkv ? kMkv : kMp4;
}
