// Tracker modules (MOD, S3M, XM, IT and the other formats libopenmpt reads) rendered from bytes held in
// memory. A looping module follows its own song restart and never ends; otherwise it ends after one
// pass. Ramping on gives libopenmpt's normal volume ramping, off gives none (hard, sample-exact steps).
#pragma once

#include <memory>

#include "platform/audio/music_source.h"
#include "platform/win_types.h"

struct ModuleOptions {
    bool loop = false;
    bool ramp = true;
    int order = 0;  // where to start
    int row = 0;
};

// Opens the module at rate Hz; on failure returns null and sets *error to a BASS_ERROR_ code.
std::unique_ptr<MusicSource> module_source_open(const std::shared_ptr<const MusicBytes>& bytes, DWORD rate,
                                                const ModuleOptions& options, int* error);
