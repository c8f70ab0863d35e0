// The output device: SDL2's default audio output opened for signed 16-bit stereo at the requested rate
// (SDL converts if the hardware wants another form). The device pulls each buffer from a mix function
// on SDL's own audio thread. With SDL's dummy driver it consumes samples in real time like a real
// card; with the disk driver it writes them to a file. This is the only part of the layer that sees SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/win_types.h"

class AudioDevice {
public:
    // Fills frames stereo frames; called on the device's thread.
    using MixFunction = std::function<void(std::int16_t* out, std::size_t frames)>;

    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the default output paused; false with a one-line reason when there is none.
    bool open(DWORD rate, MixFunction mix, std::string* error);
    void start();
    void close();
    bool is_open() const { return id_ != 0; }

private:
    static void callback(void* self, std::uint8_t* stream, int bytes);

    std::uint32_t id_ = 0;
    MixFunction mix_;
};
