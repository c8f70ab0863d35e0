#include "capture/video_container.h"

#include <filesystem>
#include <system_error>

#include "capture/matroska_empty.h"
#include "capture/video_container_packets.h"
#include "capture/video_container_picture.h"
#include "capture/video_container_profile.h"
#include "capture/video_container_sound.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

namespace {

class VideoContainer final : public VideoSink {
public:
    ~VideoContainer() override
    {
        // A container given up half way still gets its trailer, so what was written stays readable.
        if (header_written_ && !finished_) av_write_trailer(format_);
        if (format_ != nullptr && format_->pb != nullptr) avio_closep(&format_->pb);
        avformat_free_context(format_);
    }

    bool open(const VideoSettings& settings, VideoForm form, std::string* error)
    {
        path_ = settings.path;
        form_ = form;
        const VideoContainerProfile& profile = video_container_profile(form);
        // The encoders' statistics and notes are not for the capture's console.
        if (av_log_get_level() > AV_LOG_ERROR) av_log_set_level(AV_LOG_ERROR);
        int result = avformat_alloc_output_context2(&format_, nullptr, profile.muxer, path_.c_str());
        if (result < 0 || format_ == nullptr) {
            *error = std::string("this FFmpeg cannot write ") + profile.muxer + " files: " + av_error_text(result);
            return false;
        }
        if (!picture_.open(profile, settings, format_, error) || !sound_.open(profile, settings, format_, error)) {
            *error = "cannot capture to " + path_ + ": " + *error;
            return false;
        }
        result = avio_open(&format_->pb, path_.c_str(), AVIO_FLAG_WRITE);
        if (result < 0) {
            *error = "cannot create " + path_ + ": " + av_error_text(result);
            return false;
        }
        AVDictionary* options = nullptr;
        av_dict_parse_string(&options, profile.muxer_options, "=", ":", 0);
        result = avformat_write_header(format_, &options);
        av_dict_free(&options);
        if (result < 0) {
            *error = "cannot write " + path_ + ": " + av_error_text(result);
            avio_closep(&format_->pb);
            std::error_code ec;
            std::filesystem::remove(path_, ec);
            return false;
        }
        header_written_ = true;
        return true;
    }

    bool write(const FrameImage& picture, const std::int16_t* samples, std::size_t sample_frames, std::string* error) override
    {
        ++frames_;
        if (picture_.write(picture, error) && sound_.write(samples, sample_frames, error)) return true;
        *error = path_ + ": " + *error;
        return false;
    }

    bool finish(std::string* error) override
    {
        finished_ = true;
        if (!picture_.flush(error) || !sound_.flush(error)) {
            *error = path_ + ": " + *error;
            av_write_trailer(format_);
            return false;
        }
        int result = av_write_trailer(format_);
        if (result >= 0) result = avio_closep(&format_->pb);
        if (result < 0) {
            *error = "cannot complete " + path_ + ": " + av_error_text(result);
            return false;
        }
        if (frames_ == 0 && form_ == VideoForm::mkv && !matroska_add_empty_cluster(path_, error)) return false;
        std::error_code ec;
        bytes_ = std::filesystem::file_size(path_, ec);
        return true;
    }

    std::uint64_t bytes() const override { return bytes_; }

private:
    std::string path_;
    VideoForm form_ = VideoForm::mp4;
    std::int64_t frames_ = 0;
    AVFormatContext* format_ = nullptr;
    VideoContainerPicture picture_;
    VideoContainerSound sound_;
    bool header_written_ = false;
    bool finished_ = false;
    std::uint64_t bytes_ = 0;
};

}  // namespace

std::unique_ptr<VideoSink> video_container_open(const VideoSettings& settings, VideoForm form, std::string* error)
{
    auto sink = std::make_unique<VideoContainer>();
    if (!sink->open(settings, form, error)) return nullptr;
    return sink;
}
