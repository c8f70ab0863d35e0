// Headless OpenGL contexts through EGL, with no window system at all: Mesa's surfaceless platform (the
// default), the EGL device platform (a GPU without a display server), or a small pbuffer on the
// surfaceless display. Tests, headless capture and CI draw through these. The platform can be forced
// with the environment variable VIRELINE_GL_PLATFORM ("surfaceless", "device", "pbuffer"); any other
// value makes creation fail, which is how tests reach the software fallback.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d/gl/gl_context.h"

// The platform named by VIRELINE_GL_PLATFORM, or "" when the variable is unset or empty (automatic:
// surfaceless first, then the device platform).
std::string context_egl_requested_platform();

// Makes a context of at least OpenGL 3.3 (core profile where offered) on the given platform ("" for
// automatic) and makes it current. Null with the reason in error when EGL, the platform or a suitable
// context is unavailable; nothing is left behind then.
std::unique_ptr<GlContext> context_egl_create(const std::string& platform, std::string* error);
