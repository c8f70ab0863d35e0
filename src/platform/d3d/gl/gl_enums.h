// Conversions of the device's state values to OpenGL, one function per enumeration. The application
// may store any DWORD in a state; the d3d_*_of readers turn the stored word into a member of its
// enumeration the way the software backend reads it (comparisons and addressing clamp into range,
// unknown blend factors fall back to ONE / ZERO, unknown cull and fill modes to NONE and SOLID), and one
// exhaustive switch per enumeration then gives the GL value (the build rejects a missing case).
#pragma once

#include <epoxy/gl.h>

#include "platform/d3d/d3d_states.h"

D3DCMPFUNC d3d_compare_of(DWORD value);          // clamped to NEVER … ALWAYS
D3DTEXTUREADDRESS d3d_address_of(DWORD value);   // clamped to WRAP … BORDER
D3DCULL d3d_cull_of(DWORD value);                // CW and CCW; anything else NONE
D3DFILLMODE d3d_fill_of(DWORD value);            // POINT and WIREFRAME; anything else SOLID
// The stage's filter: bilinear for MAGFILTER LINEAR and above, point sampling otherwise (the one
// filter decides both magnification and minification, as in the software backend).
D3DTEXTUREMAGFILTER d3d_filter_of(DWORD magfilter);
// SRCBLEND and DESTBLEND as drawn: BOTHSRCALPHA / BOTHINVSRCALPHA as the source set both factors;
// otherwise a factor outside ZERO … SRCALPHASAT becomes ONE (source) or ZERO (destination).
void d3d_blend_of(DWORD source, DWORD destination, D3DBLEND* out_source, D3DBLEND* out_destination);

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
