// Conversions of the device's state values to OpenGL, one function per enumeration. The stored word
// is first read into a member of its enumeration by the device core (core/state_reading.h), as for
// every backend; one exhaustive switch per enumeration then gives the GL value (the build rejects a
// missing case).
#pragma once

#include <epoxy/gl.h>

#include "platform/d3d/d3d_states.h"

GLenum gl_compare_func(D3DCMPFUNC func);
GLenum gl_primitive(D3DPRIMITIVETYPE type);
GLenum gl_address_mode(D3DTEXTUREADDRESS mode);
GLenum gl_filter(D3DTEXTUREMAGFILTER filter);
GLenum gl_polygon_mode(D3DFILLMODE mode);
GLenum gl_blend_factor(D3DBLEND factor);

// Culling by signed screen area. The backend keeps the device's y-down screen coordinates as GL window
// coordinates, so a triangle clockwise on the device's screen is counter-clockwise for GL; the front
// face is GL_CCW and this gives the face to remove (enabled false for D3DCULL_NONE).
struct GlCull {
    bool enabled;
    GLenum face;
};
GlCull gl_cull(D3DCULL mode);
