#include "platform/audio/mp3_source.h"

#include <libopenmpt/libopenmpt.h>
#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/audio/bass.h"

namespace {

// The read position over the bytes, handed to libmpg123 as its I/O handle.
struct MemoryCursor {
    std::shared_ptr<const MusicBytes> bytes;
    std::size_t position = 0;
};

mpg123_ssize_t cursor_read(void* handle, void* buffer, std::size_t count) {
    auto* cursor = static_cast<MemoryCursor*>(handle);
    const std::size_t left = cursor->bytes->size() - cursor->position;
    const std::size_t n = std::min(left, count);
    if (n > 0) std::memcpy(buffer, cursor->bytes->data() + cursor->position, n);
    cursor->position += n;
    return static_cast<mpg123_ssize_t>(n);
}

off_t cursor_seek(void* handle, off_t offset, int whence) {
    auto* cursor = static_cast<MemoryCursor*>(handle);
    const off_t size = static_cast<off_t>(cursor->bytes->size());
    off_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<off_t>(cursor->position);
    else if (whence == SEEK_END) base = size;
    else if (whence != SEEK_SET) return -1;
    const off_t target = base + offset;
    if (target < 0 || target > size) return -1;
    cursor->position = static_cast<std::size_t>(target);
    return target;
}

bool looks_like_module(const MusicBytes& bytes) {
    int error = 0;
    const char* message = nullptr;
    const int result = openmpt_probe_file_header(OPENMPT_PROBE_FILE_HEADER_FLAGS_DEFAULT, bytes.data(), bytes.size(),
                                                 bytes.size(), openmpt_log_func_silent, nullptr,
                                                 openmpt_error_func_ignore, nullptr, &error, &message);
    openmpt_free_string(message);
    return result == OPENMPT_PROBE_FILE_HEADER_RESULT_SUCCESS;
}

class Mp3Source final : public MusicSource {
public:
    Mp3Source(std::shared_ptr<const MusicBytes> bytes) { cursor_.bytes = std::move(bytes); }
    ~Mp3Source() override {
        if (handle_) {
            mpg123_close(handle_);
            mpg123_delete(handle_);
        }
    }
    Mp3Source(const Mp3Source&) = delete;
    Mp3Source& operator=(const Mp3Source&) = delete;

    int open(DWORD rate) {
        int err = MPG123_OK;
        handle_ = mpg123_new(nullptr, &err);
        if (!handle_) return BASS_ERROR_MEM;
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
        mpg123_format_none(handle_);
        if (mpg123_format(handle_, static_cast<long>(rate), MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK)
            return BASS_ERROR_FORMAT;
        if (mpg123_replace_reader_handle(handle_, cursor_read, cursor_seek, nullptr) != MPG123_OK) return BASS_ERROR_UNKNOWN;
        if (mpg123_open_handle(handle_, &cursor_) != MPG123_OK) return BASS_ERROR_FILEFORM;
        long got_rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(handle_, &got_rate, &channels, &encoding) != MPG123_OK) return BASS_ERROR_FILEFORM;
        if (got_rate != static_cast<long>(rate) || channels != 2 || encoding != MPG123_ENC_SIGNED_16)
            return BASS_ERROR_FORMAT;
        // A stream has to give sound, not just a header: decode the first block now and keep it.
        pending_.resize(kProbeFrames * 2);
        const std::size_t got = decode(pending_.data(), kProbeFrames);
        if (got == 0) return BASS_ERROR_FILEFORM;
        pending_.resize(got * 2);
        return BASS_OK;
    }

    std::size_t read(std::int16_t* out, std::size_t frames) override {
        std::size_t done = 0;
        if (pending_used_ < pending_.size()) {
            const std::size_t n = std::min(frames, (pending_.size() - pending_used_) / 2);
            std::memcpy(out, pending_.data() + pending_used_, n * 2 * sizeof(std::int16_t));
            pending_used_ += n * 2;
            done = n;
        }
        if (done < frames) done += decode(out + done * 2, frames - done);
        return done;
    }

private:
    static constexpr std::size_t kProbeFrames = 1152;

    std::size_t decode(std::int16_t* out, std::size_t frames) {
        std::size_t done = 0;
        while (!ended_ && done < frames) {
            std::size_t bytes = 0;
            const int result = mpg123_read(handle_, out + done * 2, (frames - done) * 2 * sizeof(std::int16_t), &bytes);
            done += bytes / (2 * sizeof(std::int16_t));
            if (result == MPG123_DONE || (result != MPG123_OK && result != MPG123_NEW_FORMAT)) ended_ = true;
            else if (bytes == 0 && result == MPG123_OK) ended_ = true;  // no progress: treat as the end
        }
        return done;
    }

    MemoryCursor cursor_;
    mpg123_handle* handle_ = nullptr;
    std::vector<std::int16_t> pending_;
    std::size_t pending_used_ = 0;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<MusicSource> mp3_source_open(std::shared_ptr<const MusicBytes> bytes, DWORD rate, int* error) {
    if (!bytes || bytes->empty() || looks_like_module(*bytes)) {
        *error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    auto source = std::make_unique<Mp3Source>(std::move(bytes));
    *error = source->open(rate);
    if (*error != BASS_OK) return nullptr;
    return source;
}
