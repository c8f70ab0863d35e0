#include "platform/audio/test_music.h"

#include <lame/lame.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <thread>

std::vector<std::int16_t> test_chord(std::size_t frames) {
    std::vector<std::int16_t> samples(frames * 2);
    const double seconds = static_cast<double>(frames) / 44100.0;
    // Whole cycles in the piece's length, near 440 and 660 Hz.
    const double left = std::round(440.0 * seconds) / seconds;
    const double right = std::round(660.0 * seconds) / seconds;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        samples[i * 2] = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * std::numbers::pi * left * t));
        samples[i * 2 + 1] = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * std::numbers::pi * right * t));
    }
    return samples;
}

bool test_write_mp3(const std::string& path, const std::vector<std::int16_t>& samples) {
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    const int frames = static_cast<int>(samples.size() / 2);
    std::vector<unsigned char> out(static_cast<std::size_t>(frames) * 5 / 4 + 7200 + 16384);
    std::vector<std::int16_t> copy = samples;
    int used = lame_encode_buffer_interleaved(lame, copy.data(), frames, out.data(), static_cast<int>(out.size()));
    if (used < 0) {
        lame_close(lame);
        return false;
    }
    const int flushed = lame_encode_flush(lame, out.data() + used, static_cast<int>(out.size()) - used);
    if (flushed < 0) {
        lame_close(lame);
        return false;
    }
    out.resize(static_cast<std::size_t>(used + flushed));
    unsigned char tag[8192];
    const std::size_t tag_size = lame_get_lametag_frame(lame, tag, sizeof(tag));
    lame_close(lame);
    if (tag_size == 0 || tag_size > out.size()) return false;
    std::copy(tag, tag + tag_size, out.begin());  // the tag replaces the placeholder first frame
    return test_write_bytes(path, std::vector<std::uint8_t>(out.begin(), out.end()));
}

bool test_write_module(const std::string& path) {
    std::vector<std::uint8_t> mod(1084 + 64 * 4 * 4 + 32, 0);
    const char title[] = "vireline test";
    std::copy(title, title + sizeof(title) - 1, mod.begin());
    // Sample 1: 32 bytes (16 words), volume 64, looped over its whole length.
    std::uint8_t* sample = mod.data() + 20;
    sample[22] = 0;
    sample[23] = 16;
    sample[25] = 64;
    sample[28] = 0;
    sample[29] = 16;
    mod[950] = 1;    // song length: one order
    mod[951] = 127;  // restart byte
    mod[952] = 0;    // order 0 → pattern 0
    mod[1080] = 'M';
    mod[1081] = '.';
    mod[1082] = 'K';
    mod[1083] = '.';
    std::uint8_t* row0 = mod.data() + 1084;
    row0[0] = 0x01;  // period 428 (C-2), sample 1
    row0[1] = 0xAC;
    row0[2] = 0x10;
    row0[3] = 0x00;
    std::uint8_t* row3 = mod.data() + 1084 + 3 * 16;
    row3[2] = 0x0D;  // pattern break after the fourth row: the song ends there
    for (int i = 0; i < 32; ++i) mod[1084 + 1024 + static_cast<std::size_t>(i)] = i < 16 ? 0x60 : 0xA0;
    return test_write_bytes(path, mod);
}

bool test_write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> test_read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string test_scratch_path(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(VIRELINE_BINARY_DIR) / "test-scratch" / "audio";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

bool test_wait_for(const std::function<bool()>& condition, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
