#include "platform/window/window_present.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/d3d/core/pixel_format.h"
#include "platform/window/window_internal.h"

namespace {

bool g_vsync = true;

bool ensure_renderer(WindowHandle& w, bool vsync)
{
    WindowPresenter& p = w.presenter;
    if (p.renderer == nullptr) {
        p.renderer = SDL_CreateRenderer(w.sdl, -1, SDL_RENDERER_ACCELERATED);
        if (p.renderer == nullptr) p.renderer = SDL_CreateRenderer(w.sdl, -1, 0);
        if (p.renderer == nullptr) {
            SDL_Log("window present: no renderer: %s", SDL_GetError());
            return false;
        }
        p.vsync = false;
    }
    if (p.vsync != vsync) {
        SDL_RenderSetVSync(p.renderer, vsync ? 1 : 0);
        p.vsync = vsync;
    }
    return true;
}

bool ensure_texture(WindowPresenter& p, int width, int height)
{
    if (p.texture != nullptr && p.texture_width == width && p.texture_height == height) return true;
    if (p.texture != nullptr) SDL_DestroyTexture(p.texture);
    p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (p.texture == nullptr) {
        SDL_Log("window present: no texture: %s", SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(p.texture, SDL_BLENDMODE_NONE);
    p.texture_width = width;
    p.texture_height = height;
    p.staging.assign(static_cast<std::size_t>(width) * height, 0xFF000000u);
    return true;
}

}  // namespace

bool window_present_source_rect(const RECT& client_on_screen, DWORD primary_width, DWORD primary_height,
                                bool is_flip, RECT* source, int* dest_x, int* dest_y)
{
    if (is_flip) {
        *source = RECT{0, 0, static_cast<LONG>(primary_width), static_cast<LONG>(primary_height)};
        *dest_x = 0;
        *dest_y = 0;
        return primary_width > 0 && primary_height > 0;
    }
    RECT s;
    s.left = std::max<LONG>(client_on_screen.left, 0);
    s.top = std::max<LONG>(client_on_screen.top, 0);
    s.right = std::min<LONG>(client_on_screen.right, static_cast<LONG>(primary_width));
    s.bottom = std::min<LONG>(client_on_screen.bottom, static_cast<LONG>(primary_height));
    if (s.left >= s.right || s.top >= s.bottom) return false;
    *source = s;
    *dest_x = s.left - client_on_screen.left;
    *dest_y = s.top - client_on_screen.top;
    return true;
}

void window_presenter_release(WindowPresenter& presenter)
{
    if (presenter.texture != nullptr) SDL_DestroyTexture(presenter.texture);
    if (presenter.renderer != nullptr) SDL_DestroyRenderer(presenter.renderer);
    presenter = WindowPresenter{};
}

bool window_present_primary(HWND window, const PresentImage& image, const RECT& dirty, bool is_flip)
{
    WindowHandle* w = window_lookup(window);
    if (w == nullptr || image.pixels == nullptr) return false;
    if (w->gpu_presenter && w->gpu_presenter(dirty, g_vsync)) return true;
    if (w->sdl == nullptr) return false;

    RECT client;
    GetClientRect(window, &client);
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    const RECT on_screen{corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
    RECT source;
    int dest_x = 0;
    int dest_y = 0;
    if (!window_present_source_rect(on_screen, image.width, image.height, is_flip, &source, &dest_x, &dest_y)) {
        return false;
    }
    // A blit elsewhere on the primary is not this window's business.
    if (dirty.right <= source.left || dirty.left >= source.right || dirty.bottom <= source.top ||
        dirty.top >= source.bottom) {
        return false;
    }
    PixelKind kind;
    if (!pixel_kind_from_format(image.format, &kind) || pixel_kind_is_depth(kind)) return false;

    const int width = is_flip ? static_cast<int>(image.width) : client.right;
    const int height = is_flip ? static_cast<int>(image.height) : client.bottom;
    if (!ensure_renderer(*w, g_vsync)) return false;
    WindowPresenter& p = w->presenter;
    if (!ensure_texture(p, width, height)) return false;

    const DWORD bytes = pixel_kind_bytes(kind);
    const bool direct = kind == PixelKind::X8R8G8B8 || kind == PixelKind::A8R8G8B8;
    for (LONG y = source.top; y < source.bottom; ++y) {
        const BYTE* src = image.pixels + static_cast<std::ptrdiff_t>(y) * image.pitch + source.left * bytes;
        std::uint32_t* dst = p.staging.data() + static_cast<std::size_t>(dest_y + (y - source.top)) * width + dest_x;
        const LONG count = source.right - source.left;
        if (direct) {
            std::memcpy(dst, src, static_cast<std::size_t>(count) * 4);
        } else {
            for (LONG x = 0; x < count; ++x) dst[x] = pixel_to_argb(kind, src + x * bytes);
        }
    }
    SDL_UpdateTexture(p.texture, nullptr, p.staging.data(), width * 4);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
    SDL_RenderPresent(p.renderer);
    return true;
}

void window_set_vsync(bool on) { g_vsync = on; }

bool window_vsync() { return g_vsync; }
