// Low-level writer of 3D Studio chunks: little-endian fields appended to a byte buffer, with nested
// chunks whose lengths are patched in when each chunk ends. The scene writer builds whole files with
// it; tests use it directly to build files that the scene writer would never produce.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ChunkWriter {
public:
    // Opens a chunk: writes its id and a length placeholder.
    void begin(std::uint16_t id);
    // Closes the innermost open chunk and fills in its length (header included).
    void end();
    template <typename Body>
    void chunk(std::uint16_t id, Body body) {
        begin(id);
        body();
        end();
    }
    // A chunk with an explicit length field and the given body bytes, lengths unchecked.
    void raw_chunk(std::uint16_t id, std::uint32_t length, const std::vector<std::uint8_t>& body);

    void u8(std::uint8_t v);
    void u16(std::uint16_t v);
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v);
    void f32(float v);
    // Three floats in file order.
    void point(float x, float y, float z);
    // The name's bytes and a terminating zero.
    void name(std::string_view s);
    void bytes(const std::vector<std::uint8_t>& b);

    std::size_t size() const { return data_.size(); }
    int open_chunks() const { return static_cast<int>(open_.size()); }
    const std::vector<std::uint8_t>& data() const { return data_; }
    std::vector<std::uint8_t> take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
    std::vector<std::size_t> open_;
};
