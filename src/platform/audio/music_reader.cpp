#include "platform/audio/music_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/audio/bass.h"
#include "platform/audio/mp3_source.h"

std::unique_ptr<MusicSource> music_spec_open(const MusicRequest& request, int* error) {
    if (request.kind == MusicKind::stream) return mp3_source_open(request.bytes, request.rate, error);
    ModuleOptions options = request.module;
    options.loop = request.loop;
    return module_source_open(request.bytes, request.rate, options, error);
}

MusicReader::MusicReader(MusicRequest request) : request_(std::move(request)) {}

bool MusicReader::refill(std::vector<std::size_t>* ends, std::size_t written) {
    // At most two decoders per block: the current one running dry and, for a loop, its successor. A
    // piece that gives nothing even from a fresh start ends for good instead of spinning.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!source_) {
            int error = BASS_OK;
            source_ = music_spec_open(request_, &error);
            if (!source_) return false;
        }
        block_.resize(kBlockFrames * 2);
        const std::size_t got = source_->read(block_.data(), kBlockFrames);
        block_.resize(got * 2);
        block_used_ = 0;
        if (got > 0) return true;
        source_.reset();
        if (ends) ends->push_back(written);
        if (!request_.loop) return false;
    }
    return false;
}

std::size_t MusicReader::read(std::int16_t* out, std::size_t frames, std::vector<std::size_t>* ends) {
    std::size_t done = 0;
    while (done < frames && !finished_) {
        if (block_used_ >= block_.size() && !refill(ends, done)) {
            finished_ = true;
            break;
        }
        const std::size_t n = std::min(frames - done, (block_.size() - block_used_) / 2);
        std::memcpy(out + done * 2, block_.data() + block_used_, n * 2 * sizeof(std::int16_t));
        block_used_ += n * 2;
        done += n;
    }
    return done;
}
