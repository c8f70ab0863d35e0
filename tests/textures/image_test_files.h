// Builders of small picture files in memory for the decoder tests and the benchmark: TGA and BMP
// files laid out byte by byte, and JPEG files written with libjpeg.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// An 18-byte TGA header followed by `body` (ID field, pixels, packets).
Bytes tga_file(int image_type, int width, int height, int depth, int descriptor, const Bytes& body,
               int id_length = 0, int colour_map_type = 0);

// A BMP with a 40-byte information header. `rows` are the file's rows in file order, each already
// padded; `height` is signed (negative for top-down). `palette` holds blue, green, red, 0 quads.
Bytes bmp_file(int width, int height, int bits, const std::vector<Bytes>& rows, const Bytes& palette = {},
               std::uint32_t compression = 0, std::uint32_t colours_used = 0);

// The parts one after the other.
Bytes concat(std::initializer_list<Bytes> parts);

// Little-endian writers for hand-made headers.
void put_le16(Bytes& out, std::size_t at, std::uint32_t value);
void put_le32(Bytes& out, std::size_t at, std::uint32_t value);

// A JPEG of `components` channels (1 grey, 3 colour) from interleaved samples, top row first.
Bytes jpeg_encode(int width, int height, int components, const Bytes& samples, int quality = 95);

// The whole file at `path`.
Bytes read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const Bytes& bytes);
