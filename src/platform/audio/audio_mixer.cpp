#include "platform/audio/audio_mixer.h"

#include <algorithm>
#include <chrono>

namespace {
constexpr std::size_t kRingFrames = 32768;   // about 0.74 s at 44.1 kHz ahead of the device
constexpr std::size_t kChunkFrames = 2048;   // what the decoder thread adds at a time
}  // namespace

AudioMixer::~AudioMixer() { close(); }

int AudioMixer::open(DWORD rate, std::string* reason) {
    rate_ = rate;
    if (!device_.open(rate, [this](std::int16_t* out, std::size_t frames) { mix(out, frames); }, reason))
        return BASS_ERROR_DRIVER;
    quit_ = false;
    decoder_ = std::thread([this] { decode_loop(); });
    return BASS_OK;
}

void AudioMixer::close() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (decoder_.joinable()) decoder_.join();
    device_.close();
    std::lock_guard lock(mutex_);
    {
        std::lock_guard mix_lock(mix_mutex_);
        mixing_.clear();
    }
    channels_.clear();
}

DWORD AudioMixer::add_channel(MusicRequest request) {
    std::lock_guard lock(mutex_);
    const DWORD handle = next_handle_++;
    channels_[handle].request = std::move(request);
    return handle;
}

bool AudioMixer::is_kind(DWORD handle, MusicKind kind) {
    std::lock_guard lock(mutex_);
    const auto it = channels_.find(handle);
    return it != channels_.end() && it->second.request.kind == kind;
}

bool AudioMixer::channel_request(DWORD handle, MusicRequest* request) {
    std::lock_guard lock(mutex_);
    const auto it = channels_.find(handle);
    if (it == channels_.end()) return false;
    *request = it->second.request;
    return true;
}

HSYNC AudioMixer::add_sync(DWORD handle, SYNCPROC* proc, DWORD user) {
    std::lock_guard lock(mutex_);
    const auto it = channels_.find(handle);
    if (it == channels_.end()) return 0;
    const HSYNC sync = next_sync_++;
    it->second.syncs.push_back({sync, proc, user});
    return sync;
}

bool AudioMixer::play(DWORD handle, bool loop, const ModuleOptions* module_options, bool restart) {
    std::unique_lock lock(mutex_);
    const auto it = channels_.find(handle);
    if (it == channels_.end()) return false;
    Channel& channel = it->second;
    const bool loop_changed = channel.request.loop != loop;
    channel.request.loop = loop;
    if (module_options) channel.request.module = *module_options;
    // A reader keeps the flags it was made with; a new loop flag or position takes a fresh start.
    if (restart || !channel.reader || loop_changed || module_options) {
        auto playback = std::make_shared<Playback>(kRingFrames);
        {
            std::lock_guard mix_lock(mix_mutex_);
            if (channel.playback) std::erase(mixing_, channel.playback);
            mixing_.push_back(playback);
        }
        channel.playback = std::move(playback);
        channel.reader = std::make_unique<MusicReader>(channel.request);
        channel.produced = 0;
        channel.pending_ends.clear();
    }
    lock.unlock();
    wake_.notify_all();
    return true;
}

void AudioMixer::fill(DWORD handle, Channel& channel, std::vector<Call>* calls) {
    if (!channel.reader || !channel.playback) return;
    std::vector<std::int16_t> chunk(kChunkFrames * 2);
    std::vector<std::size_t> ends;
    SampleRing& ring = channel.playback->ring;
    while (!channel.reader->finished() && ring.free_frames() >= kChunkFrames) {
        ends.clear();
        const std::size_t got = channel.reader->read(chunk.data(), kChunkFrames, &ends);
        for (const std::size_t end : ends) channel.pending_ends.push_back(channel.produced + end);
        ring.push(chunk.data(), got);
        channel.produced += got;
    }
    const std::uint64_t played = channel.playback->played.load(std::memory_order_acquire);
    while (!channel.pending_ends.empty() && channel.pending_ends.front() <= played) {
        channel.pending_ends.pop_front();
        for (const Sync& sync : channel.syncs) calls->push_back({sync, handle});
    }
}

void AudioMixer::decode_loop() {
    std::unique_lock lock(mutex_);
    std::vector<Call> calls;
    while (!quit_) {
        calls.clear();
        for (auto& [handle, channel] : channels_) fill(handle, channel, &calls);
        if (!calls.empty()) {
            // The callbacks may call back into the layer: run them unlocked.
            lock.unlock();
            for (const Call& call : calls)
                if (call.sync.proc) call.sync.proc(call.sync.handle, call.channel, 0, call.sync.user);
            lock.lock();
            continue;
        }
        wake_.wait_for(lock, std::chrono::milliseconds(5), [this] { return quit_; });
    }
}

void AudioMixer::mix(std::int16_t* out, std::size_t frames) {
    std::lock_guard lock(mix_mutex_);
    mix_buffer_.assign(frames * 2, 0);
    for (const auto& playback : mixing_) {
        const std::size_t got = playback->ring.pop_add(mix_buffer_.data(), frames);
        playback->played.fetch_add(got, std::memory_order_release);
    }
    for (std::size_t i = 0; i < frames * 2; ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(mix_buffer_[i], -32768, 32767));
}
