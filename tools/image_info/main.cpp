// vireline-image-info: loads a picture the way the texture manager does and prints what the loader
// made of it as one JSON object: size, variant, and the SHA-256 of the decoded picture as top-row-
// first R, G, B, A bytes. With --rgba OUT those bytes are also written to OUT. A picture that does
// not load prints its result code and a reason, and the exit status is 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image_rgba.h"
#include "sha256.h"
#include "textures/image_load.h"

namespace {
std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string hresult_text(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

int usage() {
    std::fputs("usage: vireline-image-info [--rgba OUT] FILE\n", stderr);
    return 2;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
}  // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string rgba_out;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rgba") == 0) {
            if (++i == argc) return usage();
            rgba_out = argv[i];
        } else if (file.empty() && argv[i][0] != '-') {
            file = argv[i];
        } else {
            return usage();
        }
    }
    if (file.empty()) return usage();

    // The loader joins a directory and a name; the directory is the file's own.
    const std::size_t slash = file.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);

    DecodedImage image;
    std::string reason;
    const HRESULT hr = image_load(image, directory.c_str(), name.c_str(), &reason);
    if (FAILED(hr)) {
        std::printf("{\"file\": %s, \"result\": \"%s\", \"reason\": %s}\n", json_string(file).c_str(),
                    hresult_text(hr).c_str(), json_string(reason).c_str());
        return 1;
    }

    std::vector<std::uint8_t> rgba;
    const bool converted = image_rgba_bytes(image, rgba);
    std::string fields = "\"file\": " + json_string(file) + ", \"result\": \"" + hresult_text(hr) + "\"" +
                         ", \"width\": " + std::to_string(image.width) + ", \"height\": " + std::to_string(image.height) +
                         ", \"variant\": \"" + (image.has_bitmap() ? "bitmap" : "pixels") + "\"";
    if (image.has_bitmap()) fields += ", \"bits_per_pixel\": " + std::to_string(image.bitmap->bits_per_pixel());
    fields += std::string(", \"converted\": ") + (converted ? "true" : "false");
    fields += ", \"sha256\": \"" + Sha256::hex(rgba) + "\"";

    if (!rgba_out.empty() && !write_file(rgba_out, rgba)) {
        std::printf("{\"file\": %s, \"result\": \"%s\", \"reason\": %s}\n", json_string(file).c_str(),
                    hresult_text(E_FAIL).c_str(), json_string("cannot write " + rgba_out).c_str());
        return 1;
    }
    std::printf("{%s}\n", fields.c_str());
    return 0;
}
