// Writing a capture: frames with their sound go in, a video comes out in the form the path asks for
// (see video_output.h). write_frame hands each frame to a short queue and returns; a thread of the
// writer's own pads, converts and encodes, so rendering and encoding run side by side. No frame is
// dropped or repeated: when the encoder falls behind, write_frame waits for room. close() encodes what
// is queued, flushes the encoders and completes the output, after any number of frames, none included.
//
// One thread (the one that renders) calls every method. The encoder thread blocks SIGINT, SIGTERM,
// SIGHUP and SIGQUIT, so those reach the program's other threads; the program's handler should just
// note the signal and have the main loop call close(). A process killed outright (SIGKILL) cannot
// complete its file: an unfinished MP4 is unreadable, a Matroska file keeps its frames without an
// index, a folder keeps every whole PNG and a valid WAV.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "capture/encode_queue.h"
#include "capture/frame_image.h"
#include "capture/video_output.h"
#include "capture/video_sink.h"

class VideoWriter {
public:
    VideoWriter() = default;
    ~VideoWriter();  // closes, if close() was not called
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Checks the settings, opens the encoders and creates the output; false with error() set. Nothing
    // is created when the settings or the encoders are at fault.
    bool open(const VideoSettings& settings);

    // One frame (settings' frame size) and the interleaved 16-bit stereo samples that belong to it
    // (see audio_slicing.h). False with error() set once the writer is not open or has failed (a bad
    // frame, a full disk); every later call is refused too, and close() still completes the output.
    bool write_frame(const FrameImage& frame, std::span<const std::int16_t> samples);
    bool write_frame(FrameImage&& frame, std::vector<std::int16_t>&& samples);

    // Encodes what is queued, flushes and completes the output; true when the output is complete and
    // no error happened. Safe to call more than once (later calls return the first result).
    bool close();

    bool is_open() const { return sink_ != nullptr && !closed_; }
    const std::string& error() const { return error_; }
    const VideoSettings& settings() const { return settings_; }
    VideoForm form() const { return form_; }
    // Frames accepted by write_frame.
    std::int64_t frames() const { return frames_; }
    // Bytes of the output, once closed.
    std::uint64_t bytes() const { return bytes_; }

private:
    bool check_frame(const FrameImage& frame, std::size_t samples);
    bool submit(EncodeJob&& job);
    void encode();  // the encoder thread

    VideoSettings settings_;
    VideoForm form_ = VideoForm::mp4;
    std::unique_ptr<VideoSink> sink_;
    std::unique_ptr<EncodeQueue> queue_;
    std::thread encoder_;
    std::string error_;
    std::string encoder_error_;  // written by the encoder thread, read after it is joined or has failed
    std::int64_t frames_ = 0;
    std::uint64_t bytes_ = 0;
    bool closed_ = false;
    bool close_result_ = false;
};
