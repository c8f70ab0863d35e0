#include "effects/overlay_quads.h"

#include "math/matrix.h"
#include "math/vector3.h"
#include "render/render.h"

namespace {

DWORD channel_byte(float c) { return static_cast<DWORD>(static_cast<int>(c * 255.0f)); }

// The strip (x0, y1), (x0, y0), (x1, y1), (x1, y0) with its corner texture coordinates.
void draw_screen_strip(float x0, float y0, float x1, float y1, DWORD colour) {
    D3DTLVERTEX strip[4] = {
        {x0, y1, 0.5f, 0.5f, colour, 0, 0.0f, 1.0f},
        {x0, y0, 0.5f, 0.5f, colour, 0, 0.0f, 0.0f},
        {x1, y1, 0.5f, 0.5f, colour, 0, 1.0f, 1.0f},
        {x1, y0, 0.5f, 0.5f, colour, 0, 1.0f, 0.0f},
    };
    draw_primitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, strip, 4, 0);
}

void viewport_size(float* width, float* height) {
    D3DVIEWPORT7 viewport{};
    get_viewport(&viewport);
    *width = static_cast<float>(viewport.dwWidth);
    *height = static_cast<float>(viewport.dwHeight);
}

}  // namespace

DWORD pack_colour(float a, float r, float g, float b) {
    // Integer arithmetic in unsigned form so that a spilling component wraps instead of overflowing.
    return ((channel_byte(a) << 8 | channel_byte(r)) << 8 | channel_byte(g)) << 8 | channel_byte(b);
}

void draw_screen_quad(float a, float r, float g, float b) {
    const DWORD colour = pack_colour(a, r, g, b);
    float width = 0.0f, height = 0.0f;
    viewport_size(&width, &height);
    draw_screen_strip(0.0f, 0.0f, width, height, colour);
}

void draw_screen_rect(float left, float top, float right, float bottom, float a, float r, float g, float b) {
    const DWORD colour = pack_colour(a, r, g, b);
    float width = 0.0f, height = 0.0f;
    viewport_size(&width, &height);
    draw_screen_strip(width * left, height * top, width * right, height * bottom, colour);
}

void fade_to_colour(float time, float duration, float r, float g, float b) {
    draw_screen_quad(time / duration, r, g, b);
}

void fade_from_colour(float time, float duration, float r, float g, float b) {
    draw_screen_quad(1.0f - time / duration, r, g, b);
}

void build_sprite_quad(SpriteQuad* quad, float half_width, float half_height, const Matrix* matrix, DWORD colour) {
    Vector3 corners[4] = {
        {-half_width, half_height, 0.0f},
        {half_width, half_height, 0.0f},
        {-half_width, -half_height, 0.0f},
        {half_width, -half_height, 0.0f},
    };
    const float uv[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        vector3_transform_point(&corners[i], matrix);
        quad->vertices[i] = D3DLVERTEX{corners[i].x, corners[i].y, corners[i].z, 0, colour, 0, uv[i][0], uv[i][1]};
    }
}

void set_sprite_colour(SpriteQuad* quad, float a, float r, float g, float b) {
    const DWORD colour = pack_colour(a, r, g, b);
    for (D3DLVERTEX& vertex : quad->vertices) vertex.color = colour;
}

void draw_sprite_quad(SpriteQuad* quad) {
    draw_primitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, quad->vertices, 4, 0);
}
