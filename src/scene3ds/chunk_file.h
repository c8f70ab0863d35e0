// The byte reader under the 3DS reader. The whole file is read into memory once; every field read is
// checked against the file and against the current read limit (the end of the chunk being read), so
// no read ever leaves the buffer. A read that does not fit returns zero, consumes the rest up to the
// limit and sets a failure flag that the caller checks after reading its fixed fields.
// All numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ChunkHeader {
    std::uint16_t id = 0;
    std::uint32_t length = 0;  // whole chunk, header included
};

class ChunkFile {
public:
    // Reads the file ("rb") into memory; false when it cannot be opened or read.
    bool open(const char* path);
    // Reads from a caller's buffer, which must outlive the reads; nothing is copied.
    void open_memory(const void* data, std::size_t size);
    void close();

    std::uint8_t read_u8();
    std::uint16_t read_u16();
    std::int16_t read_i16();
    std::uint32_t read_u32();
    float read_float();
    // Reads a zero-terminated name into buffer (limit bytes): at most limit - 1 characters are stored
    // and the buffer is always terminated. The name's bytes are consumed up to and including its
    // terminator; a name that runs to the read limit without one sets the failure flag.
    void read_name(char* buffer, std::size_t limit);
    // The 6-byte chunk header; false (and the failure flag) when fewer than 6 bytes remain.
    bool read_header(ChunkHeader* header);
    void skip(std::size_t bytes);

    std::size_t position() const { return position_; }
    // Moves to pos, at most to the read limit.
    void seek(std::size_t pos);
    std::size_t size() const { return size_; }
    std::size_t limit() const { return limit_; }
    // Sets the end of what may be read, at most the file's size.
    void set_limit(std::size_t end);
    std::size_t remaining() const { return limit_ - position_; }

    bool failed() const { return failed_; }
    void clear_failure() { failed_ = false; }

private:
    // True when n bytes fit before the limit; otherwise consumes the rest and sets the failure flag.
    bool take(std::size_t n);

    std::vector<std::uint8_t> owned_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    std::size_t limit_ = 0;
    bool failed_ = false;
};
