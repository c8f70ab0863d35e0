// The sound stream of an FFmpeg capture: takes interleaved 16-bit stereo in whatever amounts the frames
// bring, converts it to the encoder's sample format with libswresample, and hands the encoder blocks of
// exactly its frame size through a FIFO, the last one shorter; timestamps count samples from 0, so the
// first sample of the sound starts with the first frame of the pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "capture/video_container_profile.h"

struct AVAudioFifo;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

class VideoContainerSound {
public:
    VideoContainerSound() = default;
    ~VideoContainerSound();
    VideoContainerSound(const VideoContainerSound&) = delete;
    VideoContainerSound& operator=(const VideoContainerSound&) = delete;

    bool open(const VideoContainerProfile& profile, const VideoSettings& settings, AVFormatContext* format,
              std::string* error);
    bool write(const std::int16_t* samples, std::size_t frames, std::string* error);
    // Encodes what the FIFO still holds and drains the encoder.
    bool flush(std::string* error);

private:
    bool send(int frames, std::string* error);
    bool write_silence(int frames, std::string* error);

    const VideoContainerProfile* profile_ = nullptr;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    SwrContext* convert_ = nullptr;
    AVAudioFifo* fifo_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::uint8_t** converted_ = nullptr;  // planes of converted samples
    int converted_capacity_ = 0;
    int block_ = 1024;
    std::int64_t next_pts_ = 0;
};
