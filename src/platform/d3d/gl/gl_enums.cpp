#include "platform/d3d/gl/gl_enums.h"

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

GLenum gl_filter(D3DTEXTUREMAGFILTER filter)
{
    switch (filter) {
    case D3DTFG_POINT: return GL_NEAREST;
    case D3DTFG_LINEAR: return GL_LINEAR;
    // The cubic and anisotropic filters are drawn as bilinear (the device reads MAGFILTER as POINT or LINEAR only).
    case D3DTFG_FLATCUBIC: return GL_LINEAR;
    case D3DTFG_GAUSSIANCUBIC: return GL_LINEAR;
    case D3DTFG_ANISOTROPIC: return GL_LINEAR;
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
    // (f, f, f, 1) with f = min(As, 1 − Ad), for the source and (GL 4.x) the destination alike.
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    // The two "both" factors set the pair (state_blend_factors); on their own they read as their source meaning.
    case D3DBLEND_BOTHSRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_BOTHINVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GlCull gl_cull(D3DCULL mode)
{
    switch (mode) {
    case D3DCULL_NONE: return {false, GL_BACK};
    case D3DCULL_CW: return {true, GL_FRONT};  // removes clockwise (GL counter-clockwise) triangles
    case D3DCULL_CCW: return {true, GL_BACK};  // removes counter-clockwise (GL clockwise) triangles
    }
    return {false, GL_BACK};
}
