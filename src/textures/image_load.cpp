#include "textures/image_load.h"

#include <strings.h>

#include <cstring>

#include "textures/bmp_read.h"
#include "textures/jpeg_read.h"
#include "textures/tga_read.h"

HRESULT image_load(DecodedImage& image, const char* directory, const char* name, std::string* reason) {
    image.clear();
    if (name == nullptr) {
        image_set_reason(reason, "no picture name");
        return E_INVALIDARG;
    }
    const std::string path = std::string(directory != nullptr ? directory : "") + name;
    const char* extension = std::strrchr(name, '.');
    if (extension == nullptr) {
        image_set_reason(reason, std::string("\"") + name + "\" has no extension");
        return E_NOTIMPL;
    }
    if (::strcasecmp(extension, ".bmp") == 0) return bmp_read(path, image, reason);
    if (::strcasecmp(extension, ".tga") == 0) return tga_read(path, image, reason);
    if (::strcasecmp(extension, ".jpg") == 0) return jpeg_read(path, image, reason);
    image_set_reason(reason, std::string("extension \"") + extension + "\" is not a picture type the loader reads");
    return E_NOTIMPL;
}
