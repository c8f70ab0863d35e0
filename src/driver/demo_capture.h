// The demo written as a video (--capture): every frame the demo presents, from the first frame of the
// start part on, is read back from the back buffer and handed, with the music's samples that belong to
// it, to the video writer. The demo runs on the virtual clock at the capture's frame rate, so video
// time is demo time; the music is decoded offline from the same file the demo plays, sample 0 with
// frame 0, looping as playback loops (silence of the same length when there is no music). A capture
// ends after its duration (by default the finite parts and 20 s of the last), or early on Ctrl-C,
// SIGTERM or closing the window: in every case the file is completed and playable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "capture/capture_audio.h"
#include "capture/capture_progress.h"
#include "capture/video_writer.h"
#include "driver/demo_options.h"
#include "platform/d3d/ddraw.h"

// How much of the last part a capture of the default length keeps, in seconds.
constexpr double kCaptureLastPartSeconds = 20.0;

class DemoCapture {
public:
    explicit DemoCapture(const DemoOptions& options);
    ~DemoCapture();
    DemoCapture(const DemoCapture&) = delete;
    DemoCapture& operator=(const DemoCapture&) = delete;

    // Opens the output for frames of the back buffer's size and the music file (relative to the data
    // folder, which is current); false with the reason printed.
    bool open(IDirectDrawSurface7* back_buffer, const char* music_file);

    // A frame before the start part, presented unseen: its sound is passed over.
    void skip_frame();
    // The frame about to be presented; false once the capture has failed (reason printed).
    bool take_frame(IDirectDrawSurface7* back_buffer);
    // The last part has begun: a capture of the default length now knows its end.
    void last_part_began();

    bool done() const;
    std::int64_t frames() const { return writer_.frames(); }
    // Completes the output and prints the summary; false when the output is not complete.
    bool finish();

private:
    DemoOptions options_;
    VideoWriter writer_;
    std::unique_ptr<CaptureAudio> audio_;
    std::unique_ptr<CaptureProgress> progress_;
    std::int64_t total_ = 0;  // frames to capture; 0 while the default length is unknown
    bool failed_ = false;
    bool finished_ = false;
};

// The video frames of the default capture length from the start part on, estimated from the parts'
// nominal lengths (the progress bar's total until the last part begins).
std::int64_t capture_estimated_frames(int start_part, FrameRate fps);
