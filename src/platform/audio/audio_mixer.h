// The running output: the loaded channels, the decoder thread that keeps each playing channel's ring
// filled ahead of the device, and the mix the device pulls. The decoder thread also runs the
// end-of-channel callbacks, at the moment the device has consumed the last frame of a pass. The audio
// calls (bass.cpp) are thin checks over this; the state lives here and is guarded by one mutex, which
// the device's own callback never takes for longer than a list walk.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/bass.h"
#include "platform/audio/music_reader.h"
#include "platform/audio/sample_ring.h"

class AudioMixer {
public:
    AudioMixer() = default;
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    // Opens the device and starts the decoder thread; a BASS_ERROR_ code or BASS_OK.
    int open(DWORD rate, std::string* reason);
    // Stops everything and frees every channel.
    void close();
    bool is_open() const { return device_.is_open(); }
    DWORD rate() const { return rate_; }
    void start() { device_.start(); }

    DWORD add_channel(MusicRequest request);
    bool is_kind(DWORD handle, MusicKind kind);
    // What the channel plays now (its bytes and current flags); false for an unknown handle.
    bool channel_request(DWORD handle, MusicRequest* request);
    HSYNC add_sync(DWORD handle, SYNCPROC* proc, DWORD user);
    // Sets the loop flag and (for modules) the start position, and starts playing: from the start
    // when restart is true or the channel has not played yet, else from where it stands.
    bool play(DWORD handle, bool loop, const ModuleOptions* module_options, bool restart);

private:
    struct Playback {
        explicit Playback(std::size_t frames) : ring(frames) {}
        SampleRing ring;
        std::atomic<std::uint64_t> played{0};
    };
    struct Sync {
        HSYNC handle;
        SYNCPROC* proc;
        DWORD user;
    };
    struct Channel {
        MusicRequest request;
        std::vector<Sync> syncs;
        std::unique_ptr<MusicReader> reader;
        std::shared_ptr<Playback> playback;
        std::uint64_t produced = 0;
        std::deque<std::uint64_t> pending_ends;  // output positions where a pass ends
    };
    struct Call {
        Sync sync;
        DWORD channel;
    };

    void decode_loop();
    void mix(std::int16_t* out, std::size_t frames);
    void fill(DWORD handle, Channel& channel, std::vector<Call>* calls);

    AudioDevice device_;
    DWORD rate_ = 44100;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    std::thread decoder_;
    std::map<DWORD, Channel> channels_;
    DWORD next_handle_ = 1;
    HSYNC next_sync_ = 1;

    std::mutex mix_mutex_;
    std::vector<std::shared_ptr<Playback>> mixing_;
    std::vector<std::int32_t> mix_buffer_;
};
