#include "platform/d3d/gl/context_egl.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool has_word(const char* list, const char* word)
{
    if (list == nullptr) return false;
    const std::size_t n = std::strlen(word);
    for (const char* p = list; (p = std::strstr(p, word)) != nullptr; p += n) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[n] == '\0' || p[n] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

std::string egl_error_text(const char* what)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s failed (EGL error 0x%04X)", what, static_cast<unsigned>(eglGetError()));
    return buffer;
}

class EglContext final : public GlContext {
public:
    EglContext(EGLDisplay display, EGLContext context, EGLSurface surface, std::string platform)
        : display_(display), context_(context), surface_(surface), platform_(std::move(platform))
    {
    }
    ~EglContext() override
    {
        if (eglGetCurrentContext() == context_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
        if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
        // The display stays initialised: other contexts of this process may share it.
    }
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

    bool make_current() override
    {
        if (eglGetCurrentContext() == context_) return true;
        return eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
    }

    std::string describe() const override
    {
        return "EGL " + platform_ + " | " + identity_;
    }
    void set_identity(std::string identity) { identity_ = std::move(identity); }

private:
    EGLDisplay display_;
    EGLContext context_;
    EGLSurface surface_;
    std::string platform_;
    std::string identity_;
};

EGLDisplay platform_display(EGLenum platform, void* native, std::string* error)
{
    // Through the extension, which every EGL with platform displays lists among its client extensions
    // (the 1.5 core entry point cannot be looked up before a display exists).
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!has_word(client, "EGL_EXT_platform_base")) {
        *error = "EGL offers no platform displays (EGL_EXT_platform_base missing)";
        return EGL_NO_DISPLAY;
    }
    EGLDisplay d = eglGetPlatformDisplayEXT(platform, native, nullptr);
    if (d == EGL_NO_DISPLAY) *error = egl_error_text("eglGetPlatformDisplayEXT");
    return d;
}

EGLDisplay open_display(const std::string& platform, std::string* error)
{
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (platform == "surfaceless" || platform == "pbuffer") {
        if (!has_word(client, "EGL_MESA_platform_surfaceless")) {
            *error = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless missing)";
            return EGL_NO_DISPLAY;
        }
        return platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, error);
    }
    if (platform == "device") {
        if (!has_word(client, "EGL_EXT_platform_device") || !has_word(client, "EGL_EXT_device_enumeration")) {
            *error = "EGL has no device platform (EGL_EXT_platform_device missing)";
            return EGL_NO_DISPLAY;
        }
        EGLDeviceEXT devices[8];
        EGLint count = 0;
        if (!eglQueryDevicesEXT(8, devices, &count) || count < 1) {
            *error = "EGL lists no devices";
            return EGL_NO_DISPLAY;
        }
        return platform_display(EGL_PLATFORM_DEVICE_EXT, devices[0], error);
    }
    *error = "unknown EGL platform \"" + platform + "\" (VIRELINE_GL_PLATFORM)";
    return EGL_NO_DISPLAY;
}

std::unique_ptr<GlContext> create_on(const std::string& platform, std::string* error)
{
    EGLDisplay display = open_display(platform, error);
    if (display == EGL_NO_DISPLAY) return nullptr;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        *error = egl_error_text("eglInitialize");
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        *error = "EGL on this platform offers no desktop OpenGL";
        return nullptr;
    }
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    const bool want_pbuffer = platform == "pbuffer" || !has_word(extensions, "EGL_KHR_surfaceless_context");
    EGLConfig config = nullptr;
    const bool no_config = !want_pbuffer && has_word(extensions, "EGL_KHR_no_config_context");
    if (!no_config) {
        const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                 EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
        EGLint found = 0;
        if (!eglChooseConfig(display, wanted, &config, 1, &found) || found < 1) {
            *error = "EGL has no pbuffer configuration for desktop OpenGL";
            return nullptr;
        }
    }
    // A 3.3 core context where offered; otherwise whatever the platform gives (checked below).
    const EGLint core[] = {EGL_CONTEXT_MAJOR_VERSION, GL_BACKEND_MIN_MAJOR, EGL_CONTEXT_MINOR_VERSION,
                           GL_BACKEND_MIN_MINOR, EGL_CONTEXT_OPENGL_PROFILE_MASK,
                           EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, no_config ? EGL_NO_CONFIG_KHR : config, EGL_NO_CONTEXT, core);
    if (context == EGL_NO_CONTEXT) {
        context = eglCreateContext(display, no_config ? EGL_NO_CONFIG_KHR : config, EGL_NO_CONTEXT, nullptr);
    }
    if (context == EGL_NO_CONTEXT) {
        *error = egl_error_text("eglCreateContext");
        return nullptr;
    }
    EGLSurface surface = EGL_NO_SURFACE;
    if (want_pbuffer) {
        const EGLint size[] = {EGL_WIDTH, 16, EGL_HEIGHT, 16, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, size);
        if (surface == EGL_NO_SURFACE) {
            *error = egl_error_text("eglCreatePbufferSurface");
            eglDestroyContext(display, context);
            return nullptr;
        }
    }
    auto result = std::make_unique<EglContext>(display, context, surface, platform);
    if (!result->make_current()) {
        *error = egl_error_text("eglMakeCurrent");
        return nullptr;
    }
    if (!gl_context_check_current(error)) return nullptr;
    result->set_identity(gl_context_identity());
    return result;
}

}  // namespace

std::string context_egl_requested_platform()
{
    const char* value = std::getenv("VIRELINE_GL_PLATFORM");
    return value != nullptr ? std::string(value) : std::string();
}

std::unique_ptr<GlContext> context_egl_create(const std::string& platform, std::string* error)
{
    if (!epoxy_has_egl()) {
        *error = "no EGL library could be loaded";
        return nullptr;
    }
    if (!platform.empty()) return create_on(platform, error);
    std::string first_error;
    if (auto context = create_on("surfaceless", &first_error)) return context;
    std::string second_error;
    if (auto context = create_on("device", &second_error)) return context;
    *error = first_error + "; " + second_error;
    return nullptr;
}
