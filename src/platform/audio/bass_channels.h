// What a loaded channel plays, for the offline renderer: its bytes, kind and current flags, looked up
// by handle in the running audio layer.
#pragma once

#include "platform/audio/music_reader.h"
#include "platform/win_types.h"

// False when the layer is not initialised or the handle is not a loaded channel.
bool bass_channel_music(DWORD handle, MusicRequest* request);
