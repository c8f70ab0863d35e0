#include "platform/audio/audio_device.h"

#include <SDL.h>

AudioDevice::~AudioDevice() { close(); }

void AudioDevice::callback(void* self, std::uint8_t* stream, int bytes) {
    auto* device = static_cast<AudioDevice*>(self);
    device->mix_(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(bytes) / (2 * sizeof(std::int16_t)));
}

bool AudioDevice::open(DWORD rate, MixFunction mix, std::string* error) {
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    mix_ = std::move(mix);
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &AudioDevice::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id_ == 0) {
        if (error) *error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void AudioDevice::start() {
    if (id_ != 0) SDL_PauseAudioDevice(id_, 0);
}

void AudioDevice::close() {
    if (id_ == 0) return;
    SDL_CloseAudioDevice(id_);  // waits for a running callback to return
    id_ = 0;
    mix_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
