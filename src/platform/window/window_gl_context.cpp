#include "platform/window/window_gl_context.h"

#include <SDL.h>

#include "platform/window/window_internal.h"

namespace {

class SdlGlContext final : public NativeGlContext {
public:
    SdlGlContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}
    ~SdlGlContext() override
    {
        if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
    }
    SdlGlContext(const SdlGlContext&) = delete;
    SdlGlContext& operator=(const SdlGlContext&) = delete;

    bool make_current() override
    {
        if (SDL_GL_GetCurrentContext() == context_ && SDL_GL_GetCurrentWindow() == window_) return true;
        return SDL_GL_MakeCurrent(window_, context_) == 0;
    }
    void drawable_size(int* width, int* height) const override { SDL_GL_GetDrawableSize(window_, width, height); }
    void swap(bool vsync) override
    {
        if (vsync != vsync_) {
            // Late swap tearing where offered, else plain vertical sync; failure leaves it as it was.
            if (!vsync) {
                if (SDL_GL_SetSwapInterval(0) == 0) vsync_ = false;
            } else if (SDL_GL_SetSwapInterval(1) == 0) {
                vsync_ = true;
            }
        }
        SDL_GL_SwapWindow(window_);
    }

private:
    SDL_Window* window_;
    SDL_GLContext context_;
    bool vsync_ = true;  // SDL's contexts start with its default interval; the first swap settles it
};

// Sets the context attributes for one attempt and restores the caller's afterwards.
class AttributeScope {
public:
    AttributeScope()
    {
        SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major_);
        SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor_);
        SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile_);
    }
    ~AttributeScope()
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major_);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor_);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile_);
    }
    AttributeScope(const AttributeScope&) = delete;
    AttributeScope& operator=(const AttributeScope&) = delete;

private:
    int major_ = 0, minor_ = 0, profile_ = 0;
};

SDL_GLContext try_create(SDL_Window* window, int major, int minor, int profile)
{
    AttributeScope scope;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile);
    return SDL_GL_CreateContext(window);
}

}  // namespace

std::unique_ptr<NativeGlContext> window_gl_context_create(SDL_Window* window, int major, int minor,
                                                          std::string* error)
{
    if (window == nullptr) {
        *error = "no window";
        return nullptr;
    }
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL) == 0) {
        *error = "the window was not made for OpenGL";
        return nullptr;
    }
    SDL_GLContext context = try_create(window, major, minor, SDL_GL_CONTEXT_PROFILE_CORE);
    if (context == nullptr) context = try_create(window, major, minor, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    if (context == nullptr) {
        *error = std::string("SDL_GL_CreateContext failed: ") + SDL_GetError();
        return nullptr;
    }
    auto result = std::make_unique<SdlGlContext>(window, context);
    if (!result->make_current()) {
        *error = std::string("SDL_GL_MakeCurrent failed: ") + SDL_GetError();
        return nullptr;
    }
    return result;
}

void window_set_gpu_presenter(HWND window, GpuPresenter presenter)
{
    if (WindowHandle* w = window_lookup(window)) w->gpu_presenter = std::move(presenter);
}
