#include "platform/audio/audio_render.h"

#include "platform/audio/bass.h"
#include "platform/audio/bass_channels.h"
#include "platform/audio/music_file.h"

AudioRender::AudioRender(MusicRequest request) : reader_(request), rate_(request.rate) {}

std::unique_ptr<AudioRender> AudioRender::from_channel(DWORD handle, int* error) {
    MusicRequest request;
    if (!bass_channel_music(handle, &request)) {
        if (error) *error = BASS_ERROR_HANDLE;
        return nullptr;
    }
    if (error) *error = BASS_OK;
    return std::make_unique<AudioRender>(std::move(request));
}

std::unique_ptr<AudioRender> AudioRender::from_file(const char* path, DWORD rate, bool loop, int* error) {
    int code = BASS_OK;
    MusicRequest request;
    request.rate = rate;
    request.loop = loop;
    request.bytes = music_file_read(FALSE, path, 0, 0, &code);
    if (request.bytes) {
        request.kind = MusicKind::stream;
        if (!music_spec_open(request, &code)) {
            request.kind = MusicKind::module;
            request.module.ramp = true;
            if (!music_spec_open(request, &code)) request.bytes.reset();
        }
    }
    if (error) *error = code;
    if (!request.bytes) return nullptr;
    return std::make_unique<AudioRender>(std::move(request));
}

std::size_t AudioRender::render(std::int16_t* out, std::size_t frames) { return reader_.read(out, frames); }
