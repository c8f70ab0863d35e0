// The sound of a capture, frame by frame: pulls from the offline music renderer exactly the samples
// that belong to each video frame (see audio_slicing.h), so sample 0 of the music is sample 0 of frame 0
// and the sound never drifts from the pictures. Without music (no renderer), and after the end of a
// piece that does not loop, the frames get silence of the same length, so the sound track always
// lasts as long as the video.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "capture/frame_rate.h"

class AudioRender;

class CaptureAudio {
public:
    // music may be null (silence). The rate is the music's own when there is music, else silence_rate.
    CaptureAudio(std::unique_ptr<AudioRender> music, FrameRate fps, std::int64_t silence_rate = 44100);
    ~CaptureAudio();
    CaptureAudio(const CaptureAudio&) = delete;
    CaptureAudio& operator=(const CaptureAudio&) = delete;

    // The interleaved 16-bit stereo samples of the next video frame (frame() before the call); the
    // reference stays valid until the next call.
    const std::vector<std::int16_t>& next_frame();
    std::int64_t frame() const { return frame_; }
    std::int64_t sample_rate() const { return rate_; }
    // True once a piece that does not loop has ended (the frames since are silence).
    bool music_ended() const { return ended_; }

private:
    std::unique_ptr<AudioRender> music_;
    FrameRate fps_;
    std::int64_t rate_;
    std::int64_t frame_ = 0;
    bool ended_ = false;
    std::vector<std::int16_t> samples_;
};
