#include "driver/demo_capture.h"

#include <cstdio>

#include "capture/audio_slicing.h"
#include "capture/frame_readback.h"
#include "driver/demo_run.h"
#include "driver/sequencer.h"
#include "framework/application.h"
#include "platform/audio/audio_render.h"

std::int64_t capture_estimated_frames(int start_part, FrameRate fps)
{
    double ticks = 0.0;
    for (int i = start_part - 1; i < DEMO_PART_COUNT - 1; ++i) ticks += DEMO_PART_NOMINAL_TICKS[i];
    return video_frame_count(ticks / 30.0 + kCaptureLastPartSeconds, fps);
}

DemoCapture::DemoCapture(const DemoOptions& options) : options_(options) {}

DemoCapture::~DemoCapture() { finish(); }

bool DemoCapture::open(IDirectDrawSurface7* back_buffer, const char* music_file)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (back_buffer == nullptr || FAILED(back_buffer->GetSurfaceDesc(&desc))) {
        std::fprintf(stderr, "vireline: nothing to capture: the demo has no back buffer\n");
        return false;
    }
    VideoSettings settings;
    settings.path = options_.capture_path;
    settings.fps = options_.capture_fps;
    settings.frame_width = static_cast<int>(desc.dwWidth);
    settings.frame_height = static_cast<int>(desc.dwHeight);
    settings.width = options_.pad_width;
    settings.height = options_.pad_height;
    if (!writer_.open(settings)) {
        std::fprintf(stderr, "vireline: cannot capture to %s: %s\n", options_.capture_path.c_str(), writer_.error().c_str());
        return false;
    }
    int error = 0;
    std::unique_ptr<AudioRender> music = AudioRender::from_file(music_file, 44100, true, &error);
    if (music == nullptr) {
        std::fprintf(stderr, "vireline: %s cannot be played; the capture's sound is silence\n", music_file);
    }
    audio_ = std::make_unique<CaptureAudio>(std::move(music), options_.capture_fps);
    total_ = options_.capture_duration >= 0.0 ? video_frame_count(options_.capture_duration, options_.capture_fps) : 0;
    const std::int64_t shown_total =
        total_ > 0 ? total_ : capture_estimated_frames(options_.start_part, options_.capture_fps);
    progress_ = std::make_unique<CaptureProgress>(stderr, shown_total);
    const Application* app = app_instance();
    const DeviceInfo* device = app != nullptr ? app->device_info() : nullptr;
    std::fprintf(stderr, "vireline: capturing %dx%d at %s frames per second to %s on the %s device (%s)\n",
                 settings.frame_width, settings.frame_height, options_.capture_fps.text().c_str(),
                 options_.capture_path.c_str(), device != nullptr && device->hardware ? "hardware" : "software",
                 device != nullptr ? device->description : "unknown");
    return true;
}

void DemoCapture::skip_frame()
{
    if (audio_ != nullptr) audio_->next_frame();
}

bool DemoCapture::take_frame(IDirectDrawSurface7* back_buffer)
{
    if (failed_ || finished_ || done()) return false;
    FrameImage image;
    const HRESULT hr = frame_readback(back_buffer, &image);
    if (FAILED(hr)) {
        std::fprintf(stderr, "\nvireline: the capture stops: the frame cannot be read back (0x%08X)\n",
                     static_cast<unsigned>(hr));
        failed_ = true;
        return false;
    }
    const std::vector<std::int16_t>& samples = audio_->next_frame();
    if (!writer_.write_frame(image, samples)) {
        std::fprintf(stderr, "\nvireline: the capture stops: %s\n", writer_.error().c_str());
        failed_ = true;
        return false;
    }
    progress_->update(writer_.frames());
    return true;
}

void DemoCapture::last_part_began()
{
    if (total_ > 0 || options_.capture_duration >= 0.0) return;
    total_ = writer_.frames() + video_frame_count(kCaptureLastPartSeconds, options_.capture_fps);
    if (progress_ != nullptr) progress_->set_total(total_);
}

bool DemoCapture::done() const { return failed_ || (total_ > 0 && writer_.frames() >= total_); }

bool DemoCapture::finish()
{
    if (finished_ || progress_ == nullptr) return !failed_;
    finished_ = true;
    const bool complete = writer_.close();
    if (!complete) {
        std::fprintf(stderr, "\nvireline: the capture %s is not complete: %s\n", options_.capture_path.c_str(),
                     writer_.error().c_str());
        return false;
    }
    progress_->finish(options_.capture_path, writer_.frames(), options_.capture_fps, writer_.bytes());
    return !failed_;
}
