#include "image_test_files.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <fstream>
#include <iterator>
#include <stdexcept>

Bytes tga_file(int image_type, int width, int height, int depth, int descriptor, const Bytes& body, int id_length,
               int colour_map_type) {
    Bytes file = {std::uint8_t(id_length), std::uint8_t(colour_map_type), std::uint8_t(image_type), 0, 0, 0, 0, 0, 0,
                  0, 0, 0, 0, 0, 0, 0, std::uint8_t(depth), std::uint8_t(descriptor)};
    put_le16(file, 12, static_cast<std::uint32_t>(width));
    put_le16(file, 14, static_cast<std::uint32_t>(height));
    return concat({file, body});
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

void put_le16(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 2; ++i) out.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}
void put_le32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

Bytes bmp_file(int width, int height, int bits, const std::vector<Bytes>& rows, const Bytes& palette,
               std::uint32_t compression, std::uint32_t colours_used) {
    Bytes file(54, 0);
    file[0] = 'B', file[1] = 'M';
    put_le32(file, 10, static_cast<std::uint32_t>(54 + palette.size()));
    put_le32(file, 14, 40);
    put_le32(file, 18, static_cast<std::uint32_t>(width));
    put_le32(file, 22, static_cast<std::uint32_t>(height));
    put_le16(file, 26, 1);
    put_le16(file, 28, static_cast<std::uint32_t>(bits));
    put_le32(file, 30, compression);
    put_le32(file, 46, colours_used);
    file.insert(file.end(), palette.begin(), palette.end());
    for (const Bytes& row : rows) file.insert(file.end(), row.begin(), row.end());
    put_le32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

Bytes jpeg_encode(int width, int height, int components, const Bytes& samples, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);  // a failure here is a broken test: libjpeg exits loudly
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

Bytes read_file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}
