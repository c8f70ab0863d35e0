#include "capture/matroska_empty.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// An EBML variable-length number at data[*at]: its value and the bytes it takes.
bool read_vint(const std::vector<unsigned char>& data, std::size_t at, std::uint64_t* value, int* length)
{
    if (at >= data.size() || data[at] == 0) return false;
    int n = 1;
    while ((data[at] & (0x80 >> (n - 1))) == 0) ++n;
    if (at + static_cast<std::size_t>(n) > data.size()) return false;
    std::uint64_t v = data[at] & (0xFFu >> n);
    for (int i = 1; i < n; ++i) v = v << 8 | data[at + static_cast<std::size_t>(i)];
    *value = v;
    *length = n;
    return true;
}

}  // namespace

bool matroska_add_empty_cluster(const std::string& path, std::string* error)
{
    const std::string what = "cannot complete " + path + ": ";
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (file == nullptr) {
        *error = what + "cannot reopen it";
        return false;
    }
    // The EBML header and the segment's id and size sit in the first bytes.
    std::vector<unsigned char> head(256);
    head.resize(std::fread(head.data(), 1, head.size(), file));
    std::fseek(file, 0, SEEK_END);
    const long file_size = std::ftell(file);
    std::uint64_t header_size = 0;
    int length = 0;
    bool ok = head.size() > 4 && head[0] == 0x1A && head[1] == 0x45 && head[2] == 0xDF && head[3] == 0xA3 &&
              read_vint(head, 4, &header_size, &length);
    const std::size_t segment = 4 + static_cast<std::size_t>(length) + header_size;
    std::uint64_t segment_size = 0;
    ok = ok && segment + 12 <= head.size() && head[segment] == 0x18 && head[segment + 1] == 0x53 &&
         head[segment + 2] == 0x80 && head[segment + 3] == 0x67 && read_vint(head, segment + 4, &segment_size, &length) &&
         length == 8 && segment_size == static_cast<std::uint64_t>(file_size) - (segment + 12);
    if (!ok) {
        std::fclose(file);
        *error = what + "its layout is not the one written";
        return false;
    }
    // Cluster { Timestamp 0 }.
    static const unsigned char cluster[] = {0x1F, 0x43, 0xB6, 0x75, 0x83, 0xE7, 0x81, 0x00};
    segment_size += sizeof(cluster);
    unsigned char size_field[8] = {0x01};
    for (int i = 0; i < 7; ++i) size_field[7 - i] = static_cast<unsigned char>(segment_size >> (8 * i));
    ok = std::fwrite(cluster, 1, sizeof(cluster), file) == sizeof(cluster) &&
         std::fseek(file, static_cast<long>(segment + 4), SEEK_SET) == 0 &&
         std::fwrite(size_field, 1, sizeof(size_field), file) == sizeof(size_field);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) *error = what + "cannot write to it";
    return ok;
}
