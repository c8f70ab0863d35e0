#include "capture/capture_audio.h"

#include <algorithm>

#include "capture/audio_slicing.h"
#include "platform/audio/audio_render.h"

CaptureAudio::CaptureAudio(std::unique_ptr<AudioRender> music, FrameRate fps, std::int64_t silence_rate)
    : music_(std::move(music)), fps_(fps), rate_(music_ ? static_cast<std::int64_t>(music_->rate()) : silence_rate)
{
}

CaptureAudio::~CaptureAudio() = default;

const std::vector<std::int16_t>& CaptureAudio::next_frame()
{
    const auto count = static_cast<std::size_t>(audio_samples_of_frame(frame_, rate_, fps_));
    samples_.assign(count * 2, 0);
    std::size_t done = 0;
    while (music_ && !ended_ && done < count) {
        const std::size_t got = music_->render(samples_.data() + done * 2, count - done);
        if (got == 0) ended_ = true;
        done += got;
    }
    ++frame_;
    return samples_;
}
