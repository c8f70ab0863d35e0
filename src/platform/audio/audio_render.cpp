#include "platform/audio/audio_render.h"

#include "platform/audio/bass.h"
#include "platform/audio/bass_channels.h"
#include "platform/audio/music_file.h"

AudioRender::AudioRender(MusicSpec spec) : reader_(spec), rate_(spec.rate) {}

std::unique_ptr<AudioRender> AudioRender::from_channel(DWORD handle, int* error) {
    MusicSpec spec;
    if (!bass_channel_music(handle, &spec)) {
        if (error) *error = BASS_ERROR_HANDLE;
        return nullptr;
    }
    if (error) *error = BASS_OK;
    return std::make_unique<AudioRender>(std::move(spec));
}

std::unique_ptr<AudioRender> AudioRender::from_file(const char* path, DWORD rate, bool loop, int* error) {
    int code = BASS_OK;
    MusicSpec spec;
    spec.rate = rate;
    spec.loop = loop;
    spec.bytes = music_file_read(FALSE, path, 0, 0, &code);
    if (spec.bytes) {
        spec.kind = MusicKind::stream;
        if (!music_spec_open(spec, &code)) {
            spec.kind = MusicKind::module;
            spec.module.ramp = true;
            if (!music_spec_open(spec, &code)) spec.bytes.reset();
        }
    }
    if (error) *error = code;
    if (!spec.bytes) return nullptr;
    return std::make_unique<AudioRender>(std::move(spec));
}

std::size_t AudioRender::render(std::int16_t* out, std::size_t frames) { return reader_.read(out, frames); }
