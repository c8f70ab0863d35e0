#include "capture/wav_file.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint64_t kLargestData = 0xFFFFFFFFull - 36;

void put32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void put16(unsigned char* p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

}  // namespace

WavFile::~WavFile()
{
    std::string ignored;
    close(&ignored);
}

bool WavFile::open(const std::string& path, int sample_rate, std::string* error)
{
    close(error);
    path_ = path;
    rate_ = sample_rate;
    data_bytes_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        *error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    return write_header(error);
}

bool WavFile::write_header(std::string* error)
{
    unsigned char h[44];
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, static_cast<std::uint32_t>(36 + data_bytes_));
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);  // PCM
    put16(h + 22, 2);
    put32(h + 24, static_cast<std::uint32_t>(rate_));
    put32(h + 28, static_cast<std::uint32_t>(rate_) * 4);
    put16(h + 32, 4);
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, static_cast<std::uint32_t>(data_bytes_));
    // The samples are on disk before the sizes that cover them.
    const bool ok = std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h, 1, 44, file_) == 44 &&
                    std::fflush(file_) == 0 && std::fseek(file_, 0, SEEK_END) == 0;
    if (!ok) *error = "cannot write " + path_ + ": " + std::strerror(errno);
    return ok;
}

bool WavFile::append(const std::int16_t* samples, std::size_t frames, std::string* error)
{
    if (file_ == nullptr) {
        *error = "cannot write " + path_ + ": the file is not open";
        return false;
    }
    if (frames == 0) return true;
    const std::uint64_t bytes = static_cast<std::uint64_t>(frames) * 4;
    if (data_bytes_ + bytes > kLargestData) {
        *error = "cannot write " + path_ + ": a WAV file holds at most 4 GiB of sound";
        return false;
    }
    std::size_t written = 0;
    if constexpr (std::endian::native == std::endian::little) {
        written = std::fwrite(samples, 4, frames, file_);
    } else {
        std::vector<unsigned char> le(frames * 4);
        for (std::size_t i = 0; i < frames * 2; ++i) put16(le.data() + i * 2, static_cast<std::uint16_t>(samples[i]));
        written = std::fwrite(le.data(), 4, frames, file_);
    }
    if (written != frames) {
        *error = "cannot write " + path_ + ": " + std::strerror(errno);
        return false;
    }
    data_bytes_ += bytes;
    return write_header(error);
}

bool WavFile::close(std::string* error)
{
    if (file_ == nullptr) return true;
    const bool ok = write_header(error);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (ok && !closed) *error = "cannot write " + path_ + ": " + std::strerror(errno);
    return ok && closed;
}
