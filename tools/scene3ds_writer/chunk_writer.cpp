#include "scene3ds_writer/chunk_writer.h"

#include <cstring>
#include <stdexcept>

void ChunkWriter::begin(std::uint16_t id) {
    open_.push_back(data_.size());
    u16(id);
    u32(0);
}

void ChunkWriter::end() {
    if (open_.empty()) throw std::logic_error("ChunkWriter::end without an open chunk");
    const std::size_t start = open_.back();
    open_.pop_back();
    const std::uint64_t length = data_.size() - start;
    if (length > 0xFFFFFFFFu) throw std::length_error("3ds chunk longer than 4 GiB");
    for (int i = 0; i < 4; ++i) data_[start + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
}

void ChunkWriter::raw_chunk(std::uint16_t id, std::uint32_t length, const std::vector<std::uint8_t>& body) {
    u16(id);
    u32(length);
    bytes(body);
}

void ChunkWriter::u8(std::uint8_t v) { data_.push_back(v); }

void ChunkWriter::u16(std::uint16_t v) {
    data_.push_back(static_cast<std::uint8_t>(v));
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ChunkWriter::u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ChunkWriter::f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ChunkWriter::point(float x, float y, float z) {
    f32(x);
    f32(y);
    f32(z);
}

void ChunkWriter::name(std::string_view s) {
    data_.insert(data_.end(), s.begin(), s.end());
    data_.push_back(0);
}

void ChunkWriter::bytes(const std::vector<std::uint8_t>& b) { data_.insert(data_.end(), b.begin(), b.end()); }
