// The demo's music: "demo.mp3" in the working folder, opened as a stream (looping) or, when it does not
// open as one, as a tracker module, and started once; nothing reads its position afterwards. Every
// failure is shown in a "Bass error" box and the demo goes on silent.
#pragma once

#include "platform/win_types.h"

constexpr const char* DEMO_MUSIC_FILE = "demo.mp3";

// Initialises the output on window, opens the music and starts it.
void start_music(HWND window);
// Frees the audio library (and the music with it).
void stop_music();
// The channel playing the music (a stream or a module handle), 0 when there is none.
DWORD music_handle();
// Shows text in a "Bass error" box: formatted into a 40-byte buffer, so at most 39 characters.
void show_audio_error(const char* text);
// The end-of-channel callback: does nothing (a looping stream restarts by itself).
void on_music_end(DWORD sync, DWORD channel, DWORD data, DWORD user);
