#include "platform/d3d/gl/gl_context.h"

#include <epoxy/gl.h>

bool gl_version_sufficient(int major, int minor)
{
    if (major != GL_BACKEND_MIN_MAJOR) return major > GL_BACKEND_MIN_MAJOR;
    return minor >= GL_BACKEND_MIN_MINOR;
}

bool gl_context_check_current(std::string* error)
{
    if (!epoxy_is_desktop_gl()) {
        *error = "the context is not desktop OpenGL";
        return false;
    }
    const int version = epoxy_gl_version();  // major * 10 + minor
    if (!gl_version_sufficient(version / 10, version % 10)) {
        *error = "OpenGL " + std::to_string(version / 10) + "." + std::to_string(version % 10) +
                 " is older than the 3.3 the backend needs";
        return false;
    }
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
    GLint clip_distances = 0;
    glGetIntegerv(GL_MAX_CLIP_DISTANCES, &clip_distances);
    if (units < 8 || clip_distances < 8) {
        *error = "the context offers too few texture units or clip distances";
        return false;
    }
    return true;
}

std::string gl_context_identity()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer != nullptr ? renderer : "?") + " | " + (version != nullptr ? version : "?");
}
