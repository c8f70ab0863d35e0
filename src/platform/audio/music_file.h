// Gets the bytes of a piece of music the way the audio calls name it: a path with an offset and a
// length (0: to the end of the file), or a block of memory that is copied. Reports a missing or
// unreadable file, an offset past the end and an empty result as BASS_ERROR_ codes.
#pragma once

#include <memory>

#include "platform/audio/music_source.h"
#include "platform/win_types.h"

std::shared_ptr<const MusicBytes> music_file_read(BOOL mem, const void* file, DWORD offset, DWORD length, int* error);
