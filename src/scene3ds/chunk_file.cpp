#include "scene3ds/chunk_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool ChunkFile::open(const char* path) {
    close();
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    // Read in blocks until the end: no size query, so a path that names no regular file fails here.
    std::uint8_t block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) owned_.insert(owned_.end(), block, block + got);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    if (!ok) {
        owned_.clear();
        return false;
    }
    data_ = owned_.data();
    size_ = limit_ = owned_.size();
    return true;
}

void ChunkFile::open_memory(const void* data, std::size_t size) {
    close();
    data_ = static_cast<const std::uint8_t*>(data);
    size_ = limit_ = data_ != nullptr ? size : 0;
}

void ChunkFile::close() {
    owned_.clear();
    owned_.shrink_to_fit();
    data_ = nullptr;
    size_ = position_ = limit_ = 0;
    failed_ = false;
}

bool ChunkFile::take(std::size_t n) {
    if (remaining() >= n) return true;
    position_ = limit_;
    failed_ = true;
    return false;
}

std::uint8_t ChunkFile::read_u8() {
    if (!take(1)) return 0;
    return data_[position_++];
}

std::uint16_t ChunkFile::read_u16() {
    if (!take(2)) return 0;
    const std::uint8_t* p = data_ + position_;
    position_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int16_t ChunkFile::read_i16() { return static_cast<std::int16_t>(read_u16()); }

std::uint32_t ChunkFile::read_u32() {
    if (!take(4)) return 0;
    const std::uint8_t* p = data_ + position_;
    position_ += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float ChunkFile::read_float() {
    const std::uint32_t bits = read_u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void ChunkFile::read_name(char* buffer, std::size_t limit) {
    if (limit == 0) return;
    std::memset(buffer, 0, limit);
    std::size_t stored = 0;
    for (;;) {
        if (position_ >= limit_) {
            failed_ = true;
            return;
        }
        const char c = static_cast<char>(data_[position_++]);
        if (c == '\0') return;
        if (stored + 1 < limit) buffer[stored++] = c;
    }
}

bool ChunkFile::read_header(ChunkHeader* header) {
    if (!take(6)) return false;
    header->id = read_u16();
    header->length = read_u32();
    return true;
}

void ChunkFile::skip(std::size_t bytes) {
    if (take(bytes)) position_ += bytes;
}

void ChunkFile::seek(std::size_t pos) { position_ = std::min(pos, limit_); }

void ChunkFile::set_limit(std::size_t end) {
    limit_ = std::min(end, size_);
    position_ = std::min(position_, limit_);
}
