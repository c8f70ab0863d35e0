#include "capture/video_container_picture.h"

#include "capture/video_container_packets.h"

extern "C" {
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

VideoContainerPicture::~VideoContainerPicture()
{
    sws_freeContext(convert_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
}

bool VideoContainerPicture::open(const VideoContainerProfile& profile, const VideoSettings& settings,
                                 AVFormatContext* format, std::string* error)
{
    profile_ = &profile;
    format_ = format;
    const AVCodec* encoder = avcodec_find_encoder_by_name(profile.video_encoder);
    if (encoder == nullptr) {
        *error = std::string("this FFmpeg has no ") + profile.video_label + " encoder (" + profile.video_encoder + ")";
        return false;
    }
    codec_ = avcodec_alloc_context3(encoder);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (codec_ == nullptr || frame_ == nullptr || packet_ == nullptr) {
        *error = "out of memory opening the video encoder";
        return false;
    }
    codec_->width = settings.width;
    codec_->height = settings.height;
    codec_->pix_fmt = profile.pixel_format;
    codec_->sample_aspect_ratio = AVRational{1, 1};
    codec_->time_base = AVRational{static_cast<int>(settings.fps.den), static_cast<int>(settings.fps.num)};
    codec_->framerate = AVRational{static_cast<int>(settings.fps.num), static_cast<int>(settings.fps.den)};
    if (profile.bt601_limited) {
        codec_->color_range = AVCOL_RANGE_MPEG;
        codec_->colorspace = AVCOL_SPC_SMPTE170M;
        codec_->color_primaries = AVCOL_PRI_SMPTE170M;
        codec_->color_trc = AVCOL_TRC_SMPTE170M;
    } else {
        // The frame's own RGB, as shown on an sRGB screen.
        codec_->color_range = AVCOL_RANGE_JPEG;
        codec_->colorspace = AVCOL_SPC_RGB;
        codec_->color_primaries = AVCOL_PRI_BT709;
        codec_->color_trc = AVCOL_TRC_IEC61966_2_1;
    }
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (std::string(profile.video_encoder) == "libx264") {
        av_opt_set(codec_->priv_data, "preset", settings.x264_preset.c_str(), 0);
        av_opt_set_double(codec_->priv_data, "crf", settings.x264_crf, 0);
    } else if (std::string(profile.video_encoder) == "ffv1") {
        // Version 3: every frame a key frame in checksummed slices, encoded on several threads.
        codec_->level = 3;
        codec_->gop_size = 1;
        codec_->slices = 4;
        codec_->thread_type = FF_THREAD_SLICE;
        av_opt_set_int(codec_->priv_data, "slicecrc", 1, 0);
    }
    int result = avcodec_open2(codec_, encoder, nullptr);
    if (result < 0) {
        *error = std::string("cannot open the ") + profile.video_label + " encoder for " + std::to_string(settings.width) +
                 "x" + std::to_string(settings.height) + " at " + settings.fps.text() + " fps: " + av_error_text(result);
        return false;
    }
    stream_ = avformat_new_stream(format, nullptr);
    if (stream_ == nullptr || avcodec_parameters_from_context(stream_->codecpar, codec_) < 0) {
        *error = "cannot add the video stream";
        return false;
    }
    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    stream_->r_frame_rate = codec_->framerate;

    convert_ = sws_getContext(settings.width, settings.height, AV_PIX_FMT_0RGB32, settings.width, settings.height,
                              profile.pixel_format, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (convert_ == nullptr) {
        *error = "cannot convert RGB frames for the video encoder";
        return false;
    }
    if (profile.bt601_limited) {
        // Full-range RGB in, BT.601 limited-range YCbCr out.
        const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(convert_, bt601, 1, bt601, 0, 0, 1 << 16, 1 << 16);
    }
    frame_->format = profile.pixel_format;
    frame_->width = settings.width;
    frame_->height = settings.height;
    frame_->color_range = codec_->color_range;
    frame_->colorspace = codec_->colorspace;
    frame_->color_primaries = codec_->color_primaries;
    frame_->color_trc = codec_->color_trc;
    result = av_frame_get_buffer(frame_, 0);
    if (result < 0) {
        *error = "cannot allocate a video frame: " + av_error_text(result);
        return false;
    }
    return true;
}

bool VideoContainerPicture::write(const FrameImage& picture, std::string* error)
{
    const int result = av_frame_make_writable(frame_);
    if (result < 0) {
        *error = "cannot allocate a video frame: " + av_error_text(result);
        return false;
    }
    const std::uint8_t* source[1] = {reinterpret_cast<const std::uint8_t*>(picture.argb.data())};
    const int stride[1] = {picture.width * 4};
    sws_scale(convert_, source, stride, 0, picture.height, frame_->data, frame_->linesize);
    frame_->pts = next_pts_++;
    return av_encode_and_mux(codec_, frame_, stream_, format_, packet_, profile_->video_label, error);
}

bool VideoContainerPicture::flush(std::string* error)
{
    return av_encode_and_mux(codec_, nullptr, stream_, format_, packet_, profile_->video_label, error);
}
