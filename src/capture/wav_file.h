// A 16-bit stereo PCM WAV file written as it goes. After every append the samples are flushed to the
// file and then the header's sizes are rewritten to match, so the file on disk is a complete, valid
// WAV at every moment: a capture that is interrupted, even killed, leaves every sample appended before.
// Files that would pass the format's 4 GiB limit are refused rather than written with wrong sizes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class WavFile {
public:
    WavFile() = default;
    ~WavFile();
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Creates (or replaces) path; false with a reason.
    bool open(const std::string& path, int sample_rate, std::string* error);
    // Appends frames interleaved stereo pairs; false with a reason.
    bool append(const std::int16_t* samples, std::size_t frames, std::string* error);
    bool close(std::string* error);
    std::uint64_t bytes() const { return 44 + data_bytes_; }

private:
    bool write_header(std::string* error);

    std::string path_;
    std::FILE* file_ = nullptr;
    int rate_ = 0;
    std::uint64_t data_bytes_ = 0;
};
