// The audio library the demo plays its music through, in the platform's shape: initialise the output,
// open a file as an MP3 stream or as a tracker module, register an end-of-channel callback, start the
// output, play (a stream optionally looping), free everything. Handles are nonzero on success and
// results are true on success; after a failure BASS_ErrorGetCode tells why. Streams decode through
// libmpg123 (gapless: encoder delay and padding removed, so a looping stream joins seamlessly), modules
// through libopenmpt, and the mix goes to SDL2's audio device from the layer's own threads, so no call
// here waits on the output. Nothing of SDL or the decoders shows through this header.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

using QWORD = std::uint64_t;
using HSTREAM = DWORD;
using HMUSIC = DWORD;
using HSYNC = DWORD;

// The end-of-channel callback: sync handle, channel, data (0), the user value given at registration.
// It runs on the audio layer's own thread.
using SYNCPROC = void(HSYNC handle, DWORD channel, DWORD data, DWORD user);

// BASS_ChannelSetSync types.
constexpr DWORD BASS_SYNC_END = 2;
// Stream and module flags.
constexpr DWORD BASS_MUSIC_RAMP = 1;   // normal volume ramping (modules)
constexpr DWORD BASS_SAMPLE_LOOP = 4;  // restart at the end (streams and modules)
constexpr DWORD BASS_MUSIC_LOOP = BASS_SAMPLE_LOOP;

// BASS_ErrorGetCode values.
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;       // out of memory
constexpr int BASS_ERROR_FILEOPEN = 2;  // the file could not be opened or read
constexpr int BASS_ERROR_DRIVER = 3;    // no output device could be opened
constexpr int BASS_ERROR_HANDLE = 5;    // not a handle of a loaded channel
constexpr int BASS_ERROR_FORMAT = 6;    // the output format is not supported
constexpr int BASS_ERROR_INIT = 8;      // BASS_Init has not succeeded
constexpr int BASS_ERROR_ALREADY = 14;  // already initialised
constexpr int BASS_ERROR_ILLTYPE = 19;  // unsupported sync type
constexpr int BASS_ERROR_ILLPARAM = 20; // an invalid parameter
constexpr int BASS_ERROR_DEVICE = 23;   // no such device number
constexpr int BASS_ERROR_NOTFILE = 27;  // memory flag with no data
constexpr int BASS_ERROR_FILEFORM = 41; // the data is not of this kind (not an MP3 stream / not a module)
constexpr int BASS_ERROR_UNKNOWN = -1;

// Opens the output device: device -1 (the default output) or 1 (the first and only one), freq in Hz
// (8000 to 192000), flags 0; window is accepted and unused. False when no output device opens.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND window);
// Opens an MP3 stream from a file (mem false: file is a path; offset and length select a part of it,
// length 0 meaning to the end) or from memory (mem true: file points at length bytes, copied).
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// Loads a tracker module the same way; flags BASS_MUSIC_RAMP and BASS_MUSIC_LOOP.
HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// Registers proc to run when the channel reaches its end (type BASS_SYNC_END; param is unused), each
// time it does: every pass of a looping channel ends once.
HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD param, SYNCPROC* proc, DWORD user);
// Starts (or resumes) the output.
BOOL BASS_Start();
// Plays a stream: flush true restarts it from the beginning, false goes on from where it stands;
// flags replace the stream's flags (BASS_SAMPLE_LOOP to loop).
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
// Plays a module from pos (low word: order, high word: row); flags -1 keep its flags, otherwise they
// replace them; reset restarts its tempo and channel state (always done here: playing starts afresh).
BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset);
// Stops the output, frees every channel and closes the device.
BOOL BASS_Free();
// The error code of the calling thread's last call (BASS_OK after a success).
int BASS_ErrorGetCode();
