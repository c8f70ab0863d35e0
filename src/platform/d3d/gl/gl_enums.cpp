#include "platform/d3d/gl/gl_enums.h"

namespace {

template <typename Enum>
bool decode_range(DWORD value, DWORD first, DWORD last, Enum* out)
{
    if (value < first || value > last) return false;
    *out = static_cast<Enum>(value);
    return true;
}

}  // namespace

bool d3d_decode(DWORD value, D3DCMPFUNC* out) { return decode_range(value, D3DCMP_NEVER, D3DCMP_ALWAYS, out); }
bool d3d_decode(DWORD value, D3DBLEND* out) { return decode_range(value, D3DBLEND_ZERO, D3DBLEND_BOTHINVSRCALPHA, out); }
bool d3d_decode(DWORD value, D3DTEXTUREADDRESS* out)
{
    return decode_range(value, D3DTADDRESS_WRAP, D3DTADDRESS_BORDER, out);
}
bool d3d_decode(DWORD value, D3DTEXTUREMAGFILTER* out)
{
    return decode_range(value, D3DTFG_POINT, D3DTFG_ANISOTROPIC, out);
}
bool d3d_decode(DWORD value, D3DTEXTUREMINFILTER* out)
{
    return decode_range(value, D3DTFN_POINT, D3DTFN_ANISOTROPIC, out);
}
bool d3d_decode(DWORD value, D3DFILLMODE* out) { return decode_range(value, D3DFILL_POINT, D3DFILL_SOLID, out); }
bool d3d_decode(DWORD value, D3DCULL* out) { return decode_range(value, D3DCULL_NONE, D3DCULL_CCW, out); }
bool d3d_decode(DWORD value, D3DSHADEMODE* out) { return decode_range(value, D3DSHADE_FLAT, D3DSHADE_PHONG, out); }
bool d3d_decode(DWORD value, D3DZBUFFERTYPE* out) { return decode_range(value, D3DZB_FALSE, D3DZB_USEW, out); }
bool d3d_decode(DWORD value, D3DTEXTUREOP* out) { return decode_range(value, D3DTOP_DISABLE, D3DTOP_DOTPRODUCT3, out); }
bool d3d_decode(DWORD value, D3DMATERIALCOLORSOURCE* out)
{
    return decode_range(value, D3DMCS_MATERIAL, D3DMCS_COLOR2, out);
}

GLenum gl_compare_func(D3DCMPFUNC func)
{
    switch (func) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    case D3DCMP_ALWAYS: return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

GLenum gl_primitive(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    }
    return GL_POINTS;
}

GLenum gl_address_mode(D3DTEXTUREADDRESS mode)
{
    switch (mode) {
    case D3DTADDRESS_WRAP: return GL_REPEAT;
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    }
    return GL_REPEAT;
}

GLenum gl_mag_filter(D3DTEXTUREMAGFILTER filter)
{
    switch (filter) {
    case D3DTFG_POINT: return GL_NEAREST;
    case D3DTFG_LINEAR: return GL_LINEAR;
    // The cubic and anisotropic filters of the platform fall back to bilinear, as in the software backend.
    case D3DTFG_FLATCUBIC: return GL_LINEAR;
    case D3DTFG_GAUSSIANCUBIC: return GL_LINEAR;
    case D3DTFG_ANISOTROPIC: return GL_LINEAR;
    }
    return GL_NEAREST;
}

GLenum gl_min_filter(D3DTEXTUREMINFILTER filter)
{
    switch (filter) {
    case D3DTFN_POINT: return GL_NEAREST;
    case D3DTFN_LINEAR: return GL_LINEAR;
    case D3DTFN_ANISOTROPIC: return GL_LINEAR;
    }
    return GL_NEAREST;
}

GLenum gl_polygon_mode(D3DFILLMODE mode)
{
    switch (mode) {
    case D3DFILL_POINT: return GL_POINT;
    case D3DFILL_WIREFRAME: return GL_LINE;
    case D3DFILL_SOLID: return GL_FILL;
    }
    return GL_FILL;
}

GLenum gl_blend_factor(D3DBLEND factor)
{
    switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BOTHSRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_BOTHINVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GlBlendFactors gl_blend_factors(D3DBLEND source, D3DBLEND destination)
{
    if (source == D3DBLEND_BOTHSRCALPHA) return {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    if (source == D3DBLEND_BOTHINVSRCALPHA) return {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA};
    return {gl_blend_factor(source), gl_blend_factor(destination)};
}

GlCull gl_cull(D3DCULL mode)
{
    switch (mode) {
    case D3DCULL_NONE: return {false, GL_BACK};
    case D3DCULL_CW: return {true, GL_FRONT};   // removes clockwise (GL counter-clockwise) triangles
    case D3DCULL_CCW: return {true, GL_BACK};   // removes counter-clockwise (GL clockwise) triangles
    }
    return {false, GL_BACK};
}
