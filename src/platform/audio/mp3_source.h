// MP3 streams through libmpg123, decoded from bytes held in memory. Gapless: with a LAME/Xing tag the
// encoder's delay and padding are cut, so the samples are exactly those that were encoded. Opening
// checks that the data really is an MPEG audio stream (a recognisable first frame and at least one
// decoded frame) and not a tracker module, so junk and files cut short of one frame are refused.
#pragma once

#include <memory>

#include "platform/audio/music_source.h"
#include "platform/win_types.h"

// Opens the stream at rate Hz; on failure returns null and sets *error to a BASS_ERROR_ code.
std::unique_ptr<MusicSource> mp3_source_open(std::shared_ptr<const MusicBytes> bytes, DWORD rate, int* error);
