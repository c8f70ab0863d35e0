#include "capture/video_container_sound.h"

#include <limits>
#include <vector>

#include "capture/video_container_packets.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
}

VideoContainerSound::~VideoContainerSound()
{
    if (converted_ != nullptr) av_freep(&converted_[0]);
    av_freep(&converted_);
    av_audio_fifo_free(fifo_);
    swr_free(&convert_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
}

bool VideoContainerSound::open(const VideoContainerProfile& profile, const VideoSettings& settings,
                               AVFormatContext* format, std::string* error)
{
    profile_ = &profile;
    format_ = format;
    const AVCodec* encoder = avcodec_find_encoder_by_name(profile.audio_encoder);
    if (encoder == nullptr) {
        *error = std::string("this FFmpeg has no ") + profile.audio_label + " encoder (" + profile.audio_encoder + ")";
        return false;
    }
    codec_ = avcodec_alloc_context3(encoder);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (codec_ == nullptr || frame_ == nullptr || packet_ == nullptr) {
        *error = "out of memory opening the audio encoder";
        return false;
    }
    codec_->sample_fmt = profile.sample_format;
    codec_->sample_rate = settings.sample_rate;
    av_channel_layout_default(&codec_->ch_layout, 2);
    codec_->time_base = AVRational{1, settings.sample_rate};
    if (profile.audio_bit_rate > 0) codec_->bit_rate = profile.audio_bit_rate;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(codec_, encoder, nullptr);
    if (result < 0) {
        *error = std::string("cannot open the ") + profile.audio_label + " encoder for stereo at " +
                 std::to_string(settings.sample_rate) + " Hz: " + av_error_text(result);
        return false;
    }
    if (codec_->frame_size > 0 && !(encoder->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) block_ = codec_->frame_size;
    stream_ = avformat_new_stream(format, nullptr);
    if (stream_ == nullptr || avcodec_parameters_from_context(stream_->codecpar, codec_) < 0) {
        *error = "cannot add the audio stream";
        return false;
    }
    stream_->time_base = codec_->time_base;

    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    result = swr_alloc_set_opts2(&convert_, &codec_->ch_layout, codec_->sample_fmt, codec_->sample_rate, &stereo,
                                 AV_SAMPLE_FMT_S16, settings.sample_rate, 0, nullptr);
    if (result < 0 || (result = swr_init(convert_)) < 0) {
        *error = "cannot convert the sound for the audio encoder: " + av_error_text(result);
        return false;
    }
    fifo_ = av_audio_fifo_alloc(codec_->sample_fmt, 2, block_ * 2);
    if (fifo_ == nullptr) {
        *error = "out of memory opening the audio encoder";
        return false;
    }
    return true;
}

bool VideoContainerSound::write(const std::int16_t* samples, std::size_t frames, std::string* error)
{
    if (frames == 0) return true;
    if (frames > static_cast<std::size_t>(std::numeric_limits<int>::max() / 8)) {
        *error = "too much sound for one frame";
        return false;
    }
    const int count = static_cast<int>(frames);
    if (count > converted_capacity_) {
        if (converted_ != nullptr) av_freep(&converted_[0]);
        av_freep(&converted_);
        if (av_samples_alloc_array_and_samples(&converted_, nullptr, 2, count, codec_->sample_fmt, 0) < 0) {
            *error = "out of memory converting the sound";
            converted_capacity_ = 0;
            return false;
        }
        converted_capacity_ = count;
    }
    const std::uint8_t* in[1] = {reinterpret_cast<const std::uint8_t*>(samples)};
    const int got = swr_convert(convert_, converted_, count, in, count);
    if (got < 0 || av_audio_fifo_write(fifo_, reinterpret_cast<void**>(converted_), got) < got) {
        *error = "cannot convert the sound for the audio encoder";
        return false;
    }
    while (av_audio_fifo_size(fifo_) >= block_) {
        if (!send(block_, error)) return false;
    }
    return true;
}

bool VideoContainerSound::send(int frames, std::string* error)
{
    av_frame_unref(frame_);
    frame_->nb_samples = frames;
    frame_->format = codec_->sample_fmt;
    frame_->sample_rate = codec_->sample_rate;
    av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout);
    int result = av_frame_get_buffer(frame_, 0);
    if (result < 0) {
        *error = "cannot allocate an audio frame: " + av_error_text(result);
        return false;
    }
    if (av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame_->data), frames) < frames) {
        *error = "cannot read the sound back for the audio encoder";
        return false;
    }
    frame_->pts = next_pts_;
    next_pts_ += frames;
    return av_encode_and_mux(codec_, frame_, stream_, format_, packet_, profile_->audio_label, error);
}

bool VideoContainerSound::write_silence(int frames, std::string* error)
{
    std::vector<std::int16_t> silence(static_cast<std::size_t>(frames) * 2, 0);
    return write(silence.data(), static_cast<std::size_t>(frames), error);
}

bool VideoContainerSound::flush(std::string* error)
{
    int left = av_audio_fifo_size(fifo_);
    const int caps = codec_->codec->capabilities;
    if (left > 0 && !(caps & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE))) {
        // An encoder that takes only whole blocks gets the last one filled up with silence.
        if (!write_silence(block_ - left, error)) return false;
        left = av_audio_fifo_size(fifo_);  // write() sent the full block
    }
    if (left > 0 && !send(left, error)) return false;
    return av_encode_and_mux(codec_, nullptr, stream_, format_, packet_, profile_->audio_label, error);
}
