#include "effects/echo_shells.h"

#include <cmath>

#include "math/matrix.h"
#include "render/render.h"
#include "textures/texture_manager.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = kPi * 2.0f;

void advance(float* phase, float step) {
    *phase += step;
    if (*phase > kTwoPi) *phase -= kTwoPi;
}

}  // namespace

EchoShells& echo_shells() {
    static EchoShells instance;
    return instance;
}

void echo_shells_advance(EchoShells* shells, float seconds) {
    advance(&shells->p1, seconds * 0.237246f);
    advance(&shells->p2, seconds * 0.382352f);
    advance(&shells->p3, seconds * 0.424637f);
    advance(&shells->p4, seconds * 1.363463f);
}

int echo_plasma(float x, float y, float z, float p1, float p2, float p3) {
    const float a1 = 2.0f * (std::cos(p1) + 1.0f) * std::atan2(y, z) + 2.0f * std::sin(p3);
    const float a2 = 2.0f * (std::cos(p2) + 1.0f) * std::atan2(x, z) + 2.0f * std::sin(p2);
    const float a3 = 2.0f * (std::cos(p3) + 1.0f) * std::atan2(x, y) + 2.0f * std::sin(p1);
    return echo_plasma_alpha(std::sin(kPi * a1) + std::sin(kPi * a2) + std::sin(kPi * a3));
}

int echo_plasma_alpha(float sum_of_sines) {
    // In double, as the value was formed: three sines at +1 give 141.999998, which stays below 142.
    double b = 71.0 + 23.666666 * static_cast<double>(sum_of_sines);
    if (b < 0.0) b = 0.0;
    if (b > 255.0) b = 255.0;
    return static_cast<int>(b);
}

D3DCOLOR echo_fade(D3DCOLOR colour) {
    const int alpha = static_cast<int>((colour - ECHO_SHELLS_RGB) >> 24);
    const int faded = static_cast<int>(static_cast<float>(alpha) * 0.85f);
    return (static_cast<D3DCOLOR>(faded) << 24) + ECHO_SHELLS_RGB;
}

float echo_field_of_view(float p4) { return kPi / (0.5f * std::cos(p4) + 2.5f); }

void echo_shells_colour(EchoShells* shells) {
    for (D3DLVERTEX& v : shells->mesh->vertices) {
        const int b = echo_plasma(v.x, v.y, v.z, shells->p1, shells->p2, shells->p3);
        v.color = (static_cast<D3DCOLOR>(b) << 24) + ECHO_SHELLS_RGB;
    }
}

void draw_echo_shells() { draw_echo_shells(&echo_shells()); }

void draw_echo_shells(EchoShells* shells) {
    texture_select(0, ECHO_SHELLS_TEXTURE);
    Matrix projection;
    set_projection_matrix(*matrix_perspective(&projection, echo_field_of_view(shells->p4), 0.75f, 0.001f, 10000.0f));
    set_blend(TRUE, D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    set_color_stage(0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    set_alpha_stage(0, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    if (shells->mesh == nullptr || shells->mesh->empty()) return;
    echo_shells_colour(shells);

    const Vector3 axis{0.5f, 0.5f, 0.0f};
    for (int i = 0; i < ECHO_SHELLS_PASSES; ++i) {
        for (D3DLVERTEX& v : shells->mesh->vertices) v.color = echo_fade(v.color);
        const float s = 1.0f + 0.05f * static_cast<float>(i);
        Matrix scaling, rotation, world;
        matrix_scaling(&scaling, s, s, s);
        matrix_rotation_axis(&rotation, &axis, shells->p3);
        set_world_matrix(*matrix_multiply(&world, &scaling, &rotation));
        draw_mesh(shells->mesh);
    }
}
