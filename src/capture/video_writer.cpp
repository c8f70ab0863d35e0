#include "capture/video_writer.h"

#include <csignal>
#include <exception>
#include <pthread.h>

#include "capture/frame_folder.h"
#include "capture/frame_pad.h"
#include "capture/video_container.h"

VideoWriter::~VideoWriter() { close(); }

bool VideoWriter::open(const VideoSettings& settings)
{
    if (sink_ != nullptr) {
        error_ = "a capture is already open";
        return false;
    }
    error_.clear();
    encoder_error_.clear();
    settings_ = settings;
    closed_ = false;
    close_result_ = false;
    frames_ = 0;
    bytes_ = 0;
    if (!video_form_of_path(settings_.path, &form_, &error_) || !video_settings_resolve(&settings_, form_, &error_))
        return false;
    sink_ = form_ == VideoForm::folder ? frame_folder_open(settings_, &error_) : video_container_open(settings_, form_, &error_);
    if (sink_ == nullptr) return false;
    queue_ = std::make_unique<EncodeQueue>(static_cast<std::size_t>(settings_.queue_frames));

    // The thread starts with the stop signals blocked, so they are handled by the program's threads.
    sigset_t stop;
    sigset_t previous;
    sigemptyset(&stop);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&stop, s);
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
    encoder_ = std::thread([this] { encode(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return true;
}

bool VideoWriter::check_frame(const FrameImage& frame, std::size_t samples)
{
    if (!is_open()) {
        if (error_.empty()) error_ = "no capture is open";
        return false;
    }
    if (queue_->failed()) {
        // The encoder thread has stopped; its message is complete before it marks the queue failed.
        if (error_.empty()) error_ = encoder_error_;
        return false;
    }
    if (!error_.empty()) return false;
    const std::string where = settings_.path + ": frame " + std::to_string(frames_) + " ";
    if (frame.width != settings_.frame_width || frame.height != settings_.frame_height ||
        frame.argb.size() != static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height)) {
        error_ = where + "is " + std::to_string(frame.width) + "x" + std::to_string(frame.height) + ", not the " +
                 std::to_string(settings_.frame_width) + "x" + std::to_string(settings_.frame_height) + " of the capture";
        return false;
    }
    if (samples % 2 != 0) {
        error_ = where + "has an odd number of samples for stereo sound";
        return false;
    }
    return true;
}

bool VideoWriter::submit(EncodeJob&& job)
{
    job.index = frames_;
    if (!queue_->push(std::move(job))) {
        if (error_.empty()) error_ = encoder_error_;
        return false;
    }
    ++frames_;
    return true;
}

bool VideoWriter::write_frame(const FrameImage& frame, std::span<const std::int16_t> samples)
{
    if (!check_frame(frame, samples.size())) return false;
    EncodeJob job = queue_->take_spare();
    job.frame.width = frame.width;
    job.frame.height = frame.height;
    job.frame.argb.assign(frame.argb.begin(), frame.argb.end());
    job.samples.assign(samples.begin(), samples.end());
    return submit(std::move(job));
}

bool VideoWriter::write_frame(FrameImage&& frame, std::vector<std::int16_t>&& samples)
{
    if (!check_frame(frame, samples.size())) return false;
    EncodeJob job;
    job.frame = std::move(frame);
    job.samples = std::move(samples);
    return submit(std::move(job));
}

void VideoWriter::encode()
{
    const bool padded = settings_.width != settings_.frame_width || settings_.height != settings_.frame_height;
    try {
        FrameImage canvas;
        while (std::optional<EncodeJob> job = queue_->pop()) {
            if (padded) frame_pad_centred(job->frame, settings_.width, settings_.height, &canvas);
            const FrameImage& picture = padded ? canvas : job->frame;
            if (!sink_->write(picture, job->samples.data(), job->samples.size() / 2, &encoder_error_)) {
                queue_->fail();
                return;
            }
            queue_->give_spare(std::move(*job));
        }
    } catch (const std::exception& e) {
        encoder_error_ = settings_.path + ": the encoder stopped: " + e.what();
        queue_->fail();
    }
}

bool VideoWriter::close()
{
    if (closed_ || sink_ == nullptr) return close_result_;
    closed_ = true;
    queue_->close();
    encoder_.join();
    bool ok = error_.empty() && encoder_error_.empty();
    if (error_.empty()) error_ = encoder_error_;
    std::string finish_error;
    if (!sink_->finish(&finish_error)) {
        ok = false;
        if (error_.empty()) error_ = finish_error;
    }
    bytes_ = sink_->bytes();
    sink_.reset();
    queue_.reset();
    close_result_ = ok;
    return ok;
}
