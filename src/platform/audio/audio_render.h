// Offline rendering of the music for capture: the same frames the output plays, from the start, at
// whatever pace the caller pulls them, with no device involved. A looping piece repeats exactly as the
// output repeats it; one that does not loop ends where playback ends. The music comes either from a
// channel the audio calls loaded (as it would play with its current flags) or straight from a file,
// opened the way the demo opens its music: as a stream, else as a module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/audio/music_reader.h"
#include "platform/win_types.h"

class AudioRender {
public:
    // Null (and *error a BASS_ERROR_ code, if given) for an unknown handle.
    static std::unique_ptr<AudioRender> from_channel(DWORD handle, int* error = nullptr);
    // Null (and *error) when the file opens neither as a stream nor as a module.
    static std::unique_ptr<AudioRender> from_file(const char* path, DWORD rate, bool loop, int* error = nullptr);

    explicit AudioRender(MusicRequest request);
    // Writes the next frames stereo frames (interleaved 16-bit); returns how many, fewer only at the
    // end of a piece that does not loop. The rate is the one the music was opened with.
    std::size_t render(std::int16_t* out, std::size_t frames);
    DWORD rate() const { return rate_; }

private:
    MusicReader reader_;
    DWORD rate_;
};
