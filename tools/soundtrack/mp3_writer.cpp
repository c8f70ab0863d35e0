#include "mp3_writer.h"

#include <lame/lame.h>

#include <cstdio>
#include <memory>

namespace soundtrack {

bool mp3_write(const std::string& path, const std::vector<std::int16_t>& samples, int rate, std::string* error) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame) {
        *error = "LAME did not start";
        return false;
    }
    lame_set_in_samplerate(lame.get(), rate);
    lame_set_out_samplerate(lame.get(), rate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_brate(lame.get(), 192);
    lame_set_quality(lame.get(), 5);
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0) {
        *error = "LAME refused the encoding parameters";
        return false;
    }
    const std::size_t frames = samples.size() / 2;
    std::vector<unsigned char> out;
    std::vector<unsigned char> chunk(1152 * 64 * 5 / 4 + 7200);
    std::vector<short> input(samples.begin(), samples.end());
    constexpr std::size_t kChunkFrames = 1152 * 64;
    for (std::size_t at = 0; at < frames; at += kChunkFrames) {
        const int count = static_cast<int>(std::min(kChunkFrames, frames - at));
        const int used = lame_encode_buffer_interleaved(lame.get(), input.data() + at * 2, count, chunk.data(),
                                                        static_cast<int>(chunk.size()));
        if (used < 0) {
            *error = "LAME failed while encoding";
            return false;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + used);
    }
    const int flushed = lame_encode_flush(lame.get(), chunk.data(), static_cast<int>(chunk.size()));
    if (flushed < 0) {
        *error = "LAME failed while flushing";
        return false;
    }
    out.insert(out.end(), chunk.begin(), chunk.begin() + flushed);
    unsigned char tag[8192];
    const std::size_t tag_size = lame_get_lametag_frame(lame.get(), tag, sizeof(tag));
    if (tag_size == 0 || tag_size > out.size()) {
        *error = "LAME gave no tag frame";
        return false;
    }
    std::copy(tag, tag + tag_size, out.begin());  // over the placeholder LAME left for it
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        *error = "cannot write " + path;
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !written) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace soundtrack
