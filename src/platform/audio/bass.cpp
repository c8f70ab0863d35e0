#include "platform/audio/bass.h"

#include <memory>
#include <string>

#include "platform/audio/audio_mixer.h"
#include "platform/audio/bass_channels.h"
#include "platform/audio/music_file.h"

namespace {

thread_local int last_error = BASS_OK;
std::unique_ptr<AudioMixer> mixer;

template <typename T>
T fail(int code, T result) {
    last_error = code;
    return result;
}

template <typename T>
T succeed(T result) {
    last_error = BASS_OK;
    return result;
}

}  // namespace

bool bass_channel_music(DWORD handle, MusicRequest* request) { return mixer && mixer->channel_request(handle, request); }

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND window) {
    (void)flags;
    (void)window;
    if (mixer) return fail(BASS_ERROR_ALREADY, FALSE);
    if (device != -1 && device != 1) return fail(BASS_ERROR_DEVICE, FALSE);
    if (freq < 8000 || freq > 192000) return fail(BASS_ERROR_FORMAT, FALSE);
    auto opened = std::make_unique<AudioMixer>();
    std::string reason;
    const int code = opened->open(freq, &reason);
    if (code != BASS_OK) return fail(code, FALSE);
    mixer = std::move(opened);
    mixer->start();
    return succeed(TRUE);
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    if (!mixer) return fail(BASS_ERROR_INIT, HSTREAM{0});
    int code = BASS_OK;
    MusicRequest request;
    request.kind = MusicKind::stream;
    request.rate = mixer->rate();
    request.loop = (flags & BASS_SAMPLE_LOOP) != 0;
    request.bytes = music_file_read(mem, file, offset, length, &code);
    if (!request.bytes) return fail(code, HSTREAM{0});
    if (!music_spec_open(request, &code)) return fail(code, HSTREAM{0});
    return succeed(mixer->add_channel(std::move(request)));
}

HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags) {
    if (!mixer) return fail(BASS_ERROR_INIT, HMUSIC{0});
    int code = BASS_OK;
    MusicRequest request;
    request.kind = MusicKind::module;
    request.rate = mixer->rate();
    request.loop = (flags & BASS_MUSIC_LOOP) != 0;
    request.module.ramp = (flags & BASS_MUSIC_RAMP) != 0;
    request.bytes = music_file_read(mem, file, offset, length, &code);
    if (!request.bytes) return fail(code, HMUSIC{0});
    if (!music_spec_open(request, &code)) return fail(code, HMUSIC{0});
    return succeed(mixer->add_channel(std::move(request)));
}

HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD param, SYNCPROC* proc, DWORD user) {
    (void)param;
    if (!mixer) return fail(BASS_ERROR_INIT, HSYNC{0});
    if (type != BASS_SYNC_END) return fail(BASS_ERROR_ILLTYPE, HSYNC{0});
    const HSYNC sync = mixer->add_sync(handle, proc, user);
    if (sync == 0) return fail(BASS_ERROR_HANDLE, HSYNC{0});
    return succeed(sync);
}

BOOL BASS_Start() {
    if (!mixer) return fail(BASS_ERROR_INIT, FALSE);
    mixer->start();
    return succeed(TRUE);
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags) {
    if (!mixer) return fail(BASS_ERROR_INIT, FALSE);
    if (!mixer->is_kind(handle, MusicKind::stream)) return fail(BASS_ERROR_HANDLE, FALSE);
    mixer->play(handle, (flags & BASS_SAMPLE_LOOP) != 0, nullptr, flush != FALSE);
    return succeed(TRUE);
}

BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset) {
    (void)reset;  // every start here is a fresh render, so tempo and channel state start afresh
    if (!mixer) return fail(BASS_ERROR_INIT, FALSE);
    MusicRequest request;
    if (!mixer->is_kind(handle, MusicKind::module) || !mixer->channel_request(handle, &request))
        return fail(BASS_ERROR_HANDLE, FALSE);
    ModuleOptions options = request.module;
    options.order = static_cast<int>(pos & 0xFFFFu);
    options.row = static_cast<int>(pos >> 16);
    bool loop = request.loop;
    if (flags != -1) {
        loop = (static_cast<DWORD>(flags) & BASS_MUSIC_LOOP) != 0;
        options.ramp = (static_cast<DWORD>(flags) & BASS_MUSIC_RAMP) != 0;
    }
    mixer->play(handle, loop, &options, true);
    return succeed(TRUE);
}

BOOL BASS_Free() {
    if (!mixer) return fail(BASS_ERROR_INIT, FALSE);
    mixer->close();
    mixer.reset();
    return succeed(TRUE);
}

int BASS_ErrorGetCode() { return last_error; }
