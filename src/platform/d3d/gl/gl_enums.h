// Conversions of the device's state values to OpenGL, one function per enumeration. Each value the
// application sets arrives as a plain DWORD: a decode function first checks that it names a member of
// the enumeration (callers fall back to the state's creation default when it does not), then one
// exhaustive switch per enumeration gives the GL value (the build rejects a missing case).
#pragma once

#include <epoxy/gl.h>

#include "platform/d3d/d3d_states.h"

bool d3d_decode(DWORD value, D3DCMPFUNC* out);
bool d3d_decode(DWORD value, D3DBLEND* out);
bool d3d_decode(DWORD value, D3DTEXTUREADDRESS* out);
bool d3d_decode(DWORD value, D3DTEXTUREMAGFILTER* out);
bool d3d_decode(DWORD value, D3DTEXTUREMINFILTER* out);
bool d3d_decode(DWORD value, D3DFILLMODE* out);
bool d3d_decode(DWORD value, D3DCULL* out);
bool d3d_decode(DWORD value, D3DSHADEMODE* out);
bool d3d_decode(DWORD value, D3DZBUFFERTYPE* out);
bool d3d_decode(DWORD value, D3DTEXTUREOP* out);
bool d3d_decode(DWORD value, D3DMATERIALCOLORSOURCE* out);

// The value of a state, or fallback when the stored word is not a member of the enumeration.
template <typename Enum>
Enum d3d_decode_or(DWORD value, Enum fallback)
{
    Enum out;
    return d3d_decode(value, &out) ? out : fallback;
}

GLenum gl_compare_func(D3DCMPFUNC func);
GLenum gl_primitive(D3DPRIMITIVETYPE type);
GLenum gl_address_mode(D3DTEXTUREADDRESS mode);
GLenum gl_mag_filter(D3DTEXTUREMAGFILTER filter);
GLenum gl_min_filter(D3DTEXTUREMINFILTER filter);
GLenum gl_polygon_mode(D3DFILLMODE mode);

// One blend factor as it means on its own.
GLenum gl_blend_factor(D3DBLEND factor);
// The pair of GL factors for SRCBLEND and DESTBLEND: BOTHSRCALPHA and BOTHINVSRCALPHA as the source
// set both factors and the destination is then ignored.
struct GlBlendFactors {
    GLenum source;
    GLenum destination;
};
GlBlendFactors gl_blend_factors(D3DBLEND source, D3DBLEND destination);

// Culling by signed screen area. The backend keeps the device's y-down screen coordinates as GL window
// coordinates, so a triangle clockwise on the device's screen is counter-clockwise for GL; the front
// face is GL_CCW and this gives the face to remove (enabled false for D3DCULL_NONE).
struct GlCull {
    bool enabled;
    GLenum face;
};
GlCull gl_cull(D3DCULL mode);
