#include <cstring>
#include <new>
#include <string>
#include <strings.h>
#include <sys/stat.h>

#include "platform/debug_output.h"
#include "render/render_context.h"
#include "textures/image_load.h"
#include "textures/texture_file.h"
#include "textures/texture_manager.h"

namespace {

std::unique_ptr<TextureEntry> g_head;
std::string g_directory;
DWORD g_target_scale = 1;

bool name_fits(const char* name) { return std::strlen(name) < TEXTURE_NAME_SIZE; }

void release_surface(TextureEntry* entry) {
    if (entry->surface != nullptr) {
        entry->surface->Release();
        entry->surface = nullptr;
    }
}

std::unique_ptr<TextureEntry> new_entry(const char* name, DWORD wanted_bits, DWORD wanted_alpha_bits) {
    std::unique_ptr<TextureEntry> entry(new (std::nothrow) TextureEntry);
    if (!entry) return entry;
    std::strncpy(entry->name, name, TEXTURE_NAME_SIZE - 1);
    entry->wanted_bits = wanted_bits;
    entry->wanted_alpha_bits = wanted_alpha_bits;
    return entry;
}

TextureEntry* push_front(std::unique_ptr<TextureEntry> entry) {
    entry->next = std::move(g_head);
    g_head = std::move(entry);
    return g_head.get();
}

}  // namespace

void texture_set_directory(const char* directory) { g_directory = directory != nullptr ? directory : ""; }

const char* texture_directory() { return g_directory.c_str(); }

TextureEntry* texture_find(const char* name) {
    if (name == nullptr) return nullptr;
    for (TextureEntry* entry = g_head.get(); entry != nullptr; entry = entry->next.get()) {
        if (strcasecmp(entry->name, name) == 0) return entry;
    }
    return nullptr;
}

HRESULT texture_load(const char* name, DWORD wanted_bits, DWORD wanted_alpha_bits) {
    if (name == nullptr || name[0] == '\0' || !name_fits(name)) return E_INVALIDARG;
    if (texture_find(name) != nullptr) return S_OK;

    std::unique_ptr<TextureEntry> entry = new_entry(name, wanted_bits, wanted_alpha_bits);
    if (!entry) return E_OUTOFMEMORY;
    const std::string file_name = texture_file_resolve(g_directory, name);
    std::string reason;
    if (FAILED(image_load(entry->image, g_directory.c_str(), file_name.c_str(), &reason))) {
        // A missing file is the caller's to report; a file that is there but does not decode says why.
        const std::string path = g_directory + file_name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0) {
            debug_output_format("%s: not loaded: %s\n", path.c_str(), reason.c_str());
        }
        return E_FAIL;
    }
    entry->width = entry->image.width;
    entry->height = entry->image.height;
    if (entry->image.has_bitmap() && (entry->width == 0 || entry->height == 0)) {
        const BITMAP header = entry->image.bitmap->object();
        entry->width = static_cast<DWORD>(header.bmWidth);
        entry->height = static_cast<DWORD>(header.bmHeight);
    }
    texture_create_surface(push_front(std::move(entry)), current_device);
    return S_OK;
}

HRESULT texture_create_target(const char* name, DWORD width, DWORD height, DWORD wanted_bits,
                              DWORD wanted_alpha_bits, DWORD extra_desc_flags, DWORD extra_caps) {
    if (name == nullptr || name[0] == '\0' || !name_fits(name) || width == 0 || height == 0) return E_INVALIDARG;
    if (texture_find(name) != nullptr) return E_FAIL;
    std::unique_ptr<TextureEntry> entry = new_entry(name, wanted_bits, wanted_alpha_bits);
    if (!entry) return E_OUTOFMEMORY;
    entry->width = width * g_target_scale;
    entry->height = height * g_target_scale;
    entry->extra_desc_flags = extra_desc_flags;
    entry->extra_caps = extra_caps;
    texture_create_surface(push_front(std::move(entry)), current_device);
    return S_OK;
}

void texture_set_target_scale(DWORD scale) { g_target_scale = scale < 1 ? 1 : (scale > 8 ? 8 : scale); }

DWORD texture_target_scale() { return g_target_scale; }

HRESULT texture_release_surface(const char* name) {
    TextureEntry* entry = texture_find(name);
    if (entry == nullptr) return DDERR_NOTFOUND;
    release_surface(entry);
    return S_OK;
}

HRESULT texture_delete(const char* name) {
    if (name == nullptr) return S_OK;
    for (std::unique_ptr<TextureEntry>* link = &g_head; *link; link = &(*link)->next) {
        if (strcasecmp((*link)->name, name) != 0) continue;
        std::unique_ptr<TextureEntry> victim = std::move(*link);
        *link = std::move(victim->next);
        release_surface(victim.get());
        return S_OK;
    }
    return S_OK;
}

void texture_delete_all() {
    while (g_head) {
        std::unique_ptr<TextureEntry> victim = std::move(g_head);
        g_head = std::move(victim->next);
        release_surface(victim.get());
    }
}
