// Music files the audio tests write for themselves: a short MP3 of a known chord encoded with LAME
// (with its LAME/Xing tag, so gapless decoders know its exact length), a tiny ProTracker module, and
// helpers to read files back and to wait for a condition the audio threads set.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A stereo chord of whole cycles over frames frames at 44.1 kHz (so it repeats seamlessly): left
// 440 Hz, right 660 Hz, at about -12 dBFS.
std::vector<std::int16_t> test_chord(std::size_t frames);
// Encodes interleaved stereo 44.1 kHz samples to an MP3 file (CBR 192 kbit/s, LAME tag written).
bool test_write_mp3(const std::string& path, const std::vector<std::int16_t>& samples);
// Writes a four-row ProTracker module with a looped square wave on channel 1 (about 0.48 s).
bool test_write_module(const std::string& path);
bool test_write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> test_read_bytes(const std::string& path);
// A scratch path under the build tree.
std::string test_scratch_path(const std::string& name);
// Polls condition until it holds or about seconds have passed; returns the last result.
bool test_wait_for(const std::function<bool()>& condition, double seconds);
