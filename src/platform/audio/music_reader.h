// Reads a piece of music from its start as one continuous run of frames, the way the output plays it:
// a looping stream starts a fresh decoder at each end, so every pass repeats the first exactly, and the
// reader notes where in its output each pass ended. Sources are read in fixed blocks, so the frames do
// not depend on how much a caller asks for at a time; playback and offline rendering therefore produce
// the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/module_source.h"
#include "platform/audio/music_source.h"
#include "platform/win_types.h"

enum class MusicKind { stream, module };

// What to play: the bytes of one piece and how.
struct MusicRequest {
    MusicKind kind = MusicKind::stream;
    std::shared_ptr<const MusicBytes> bytes;
    DWORD rate = 44100;
    bool loop = false;
    ModuleOptions module;  // modules only (its loop field follows loop)
};

// A fresh decoder of the piece from its start; null and a BASS_ERROR_ code when it does not open.
std::unique_ptr<MusicSource> music_spec_open(const MusicRequest& request, int* error);

class MusicReader {
public:
    explicit MusicReader(MusicRequest request);

    // Writes up to frames stereo frames; fewer only once a piece that does not loop has ended. Each
    // end of a pass inside the written frames is appended to *ends (if given) as the count of frames
    // written before it in this call.
    std::size_t read(std::int16_t* out, std::size_t frames, std::vector<std::size_t>* ends = nullptr);
    bool finished() const { return finished_; }

private:
    static constexpr std::size_t kBlockFrames = 1024;
    bool refill(std::vector<std::size_t>* ends, std::size_t written);

    MusicRequest request_;
    std::unique_ptr<MusicSource> source_;
    std::vector<std::int16_t> block_;
    std::size_t block_used_ = 0;  // samples of block_ already handed out
    bool finished_ = false;
};
