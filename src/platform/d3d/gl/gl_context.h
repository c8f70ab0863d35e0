// An OpenGL context the backend can draw with, whatever made it: EGL with no display (tests, headless
// capture) or the program window (playback). The backend only asks it to become current and, for a
// window, to show frames; everything drawn goes into framebuffer objects that mirror surfaces. The
// version check shared by every way of making a context lives here too.
#pragma once

#include <string>

class GlContext {
public:
    virtual ~GlContext() = default;
    // Makes the context current on the calling thread (a no-op when it already is). False on failure.
    virtual bool make_current() = 0;
    // A short description for diagnostics: how the context was made, and the GL renderer and version.
    virtual std::string describe() const = 0;
};

// The lowest OpenGL version the backend draws with.
constexpr int GL_BACKEND_MIN_MAJOR = 3;
constexpr int GL_BACKEND_MIN_MINOR = 3;

// Whether a context reporting version major.minor (desktop OpenGL) is new enough.
bool gl_version_sufficient(int major, int minor);

// Checks the context current on this thread: desktop GL, version at least 3.3, and the features the
// backend relies on. On failure writes the reason into error and returns false.
bool gl_context_check_current(std::string* error);

// "renderer | version" of the current context.
std::string gl_context_identity();
