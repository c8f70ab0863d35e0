#include "driver/demo_music.h"

#include <cstdio>

#include "platform/audio/bass.h"
#include "platform/message_box.h"

namespace {
DWORD g_channel = 0;
}  // namespace

void show_audio_error(const char* text)
{
    char buffer[40] = {};
    std::snprintf(buffer, sizeof buffer, "%s", text != nullptr ? text : "");
    MessageBoxA(nullptr, buffer, "Bass error", MB_OK);
}

void on_music_end(DWORD, DWORD, DWORD, DWORD) {}

void start_music(HWND window)
{
    if (!BASS_Init(-1, 44100, 0, window)) show_audio_error("Can't initialize device");
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, DEMO_MUSIC_FILE, 0, 0, 0);
    HMUSIC module = 0;
    if (stream != 0) {
        BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, on_music_end, 0);
    } else {
        module = BASS_MusicLoad(FALSE, DEMO_MUSIC_FILE, 0, 0, BASS_MUSIC_RAMP);
        if (module == 0) show_audio_error("Can't play the file");
        BASS_ChannelSetSync(module, BASS_SYNC_END, 0, on_music_end, 0);
    }
    BASS_Start();
    if (stream != 0) {
        BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP);
    } else {
        BASS_MusicPlayEx(module, 0, -1, TRUE);
    }
    g_channel = stream != 0 ? stream : module;
}

void stop_music()
{
    BASS_Free();
    g_channel = 0;
}

DWORD music_handle() { return g_channel; }
