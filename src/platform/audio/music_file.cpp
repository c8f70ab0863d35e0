#include "platform/audio/music_file.h"

#include <cstdio>
#include <cstring>

#include "platform/audio/bass.h"

std::shared_ptr<const MusicBytes> music_file_read(BOOL mem, const void* file, DWORD offset, DWORD length, int* error) {
    if (!file) {
        *error = mem ? BASS_ERROR_NOTFILE : BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    auto bytes = std::make_shared<MusicBytes>();
    if (mem) {
        if (length == 0) {
            *error = BASS_ERROR_NOTFILE;
            return nullptr;
        }
        const auto* begin = static_cast<const std::uint8_t*>(file) + offset;
        bytes->assign(begin, begin + length);
    } else {
        std::FILE* f = std::fopen(static_cast<const char*>(file), "rb");
        if (!f) {
            *error = BASS_ERROR_FILEOPEN;
            return nullptr;
        }
        bool ok = std::fseek(f, 0, SEEK_END) == 0;
        const long size = ok ? std::ftell(f) : -1;
        ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
        if (ok && static_cast<unsigned long>(size) > offset) {
            std::size_t want = static_cast<std::size_t>(size) - offset;
            if (length != 0 && length < want) want = length;
            bytes->resize(want);
            ok = std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0 && std::fread(bytes->data(), 1, want, f) == want;
        }
        std::fclose(f);
        if (!ok) {
            *error = BASS_ERROR_FILEOPEN;
            return nullptr;
        }
    }
    if (bytes->empty()) {
        *error = BASS_ERROR_FILEFORM;
        return nullptr;
    }
    *error = BASS_OK;
    return bytes;
}
