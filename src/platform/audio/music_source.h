// A decoder of one piece of music into the layer's output form: interleaved signed 16-bit stereo frames
// at the rate the output was opened with. Each source plays its piece once from the start; looping is
// done by whoever reads it (by opening a fresh source), so every pass sounds exactly like the first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using MusicBytes = std::vector<std::uint8_t>;

class MusicSource {
public:
    virtual ~MusicSource() = default;
    // Writes up to frames stereo frames (2 × frames samples); returns how many, 0 at the end of the piece.
    virtual std::size_t read(std::int16_t* out, std::size_t frames) = 0;
};
