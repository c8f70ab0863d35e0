// The echo shells: plasma values and their per-pass fading, the field of view, and the ten passes on a
// recording device.
#include "effects/echo_shells.h"

#include <cmath>

#include "effects_fixture.h"
#include "math/matrix.h"

namespace {

constexpr float kPi = 3.1415927f;

TEST(EchoShells, PlasmaSeventyOneFadesThroughTheTenPassAlphas) {
    D3DCOLOR colour = (71u << 24) + ECHO_SHELLS_RGB;
    std::vector<int> alphas;
    for (int pass = 0; pass < ECHO_SHELLS_PASSES; ++pass) {
        colour = echo_fade(colour);
        alphas.push_back(static_cast<int>(colour >> 24));
        EXPECT_EQ(colour & 0xFFFFFFu, ECHO_SHELLS_RGB);
    }
    EXPECT_EQ(alphas, (std::vector<int>{60, 51, 43, 36, 30, 25, 21, 17, 14, 11}));
}

TEST(EchoShells, PlasmaValuesAtTheExtremesAndAtTheCentre) {
    EXPECT_EQ(echo_plasma_alpha(0.0f), 71);
    EXPECT_EQ(echo_plasma_alpha(3.0f), 141) << "141.999998 truncates";
    EXPECT_EQ(echo_plasma_alpha(-3.0f), 0) << "0.000002 truncates";
    EXPECT_EQ(echo_plasma_alpha(20.0f), 255);
    EXPECT_EQ(echo_plasma_alpha(-20.0f), 0);
    // atan2(0, 0) = 0 for all three terms: only the phase terms 2 sin p remain.
    EXPECT_EQ(echo_plasma(0, 0, 0, 0, 0, 0), 71);
    const float p1 = 0.3f, p2 = 1.1f, p3 = 2.0f;
    const float s = std::sin(kPi * 2 * std::sin(p3)) + std::sin(kPi * 2 * std::sin(p2)) + std::sin(kPi * 2 * std::sin(p1));
    EXPECT_EQ(echo_plasma(0, 0, 0, p1, p2, p3), echo_plasma_alpha(s));
    // A vertex on +y: atan2(y, z) = π/2, atan2(x, z) = 0, atan2(x, y) = 0.
    const float a1 = 2 * (std::cos(p1) + 1) * (kPi / 2) + 2 * std::sin(p3);
    const float s_up = std::sin(kPi * a1) + std::sin(kPi * 2 * std::sin(p2)) + std::sin(kPi * 2 * std::sin(p1));
    EXPECT_EQ(echo_plasma(0, 1, 0, p1, p2, p3), echo_plasma_alpha(s_up));
}

TEST(EchoShells, FieldOfViewSwingsBetweenAThirdAndAHalfOfPi) {
    EXPECT_NEAR(echo_field_of_view(0.0f), kPi / 3, 1e-6);
    EXPECT_NEAR(echo_field_of_view(kPi), kPi / 2, 1e-6);
}

TEST_F(RecordingEffectTest, TenPassesGrowWhileTheirVerticesFade) {
    MeshRecord mesh;
    mesh.vertices.assign(3, D3DLVERTEX{});
    mesh.vertices[1].x = 1.0f;
    mesh.indices = {0, 1, 2};
    EchoShells shells;
    shells.mesh = &mesh;
    shells.p3 = 0.5f;
    draw_echo_shells(&shells);

    EXPECT_EQ(calls_of({"Draw"}), std::vector<std::string>(10, "DrawIndexedPrimitive 4 482 3 3 0"));
    int alpha = echo_plasma(0, 0, 0, 0, 0, 0.5f);
    for (int pass = 0; pass < 10; ++pass) alpha = static_cast<int>(static_cast<float>(alpha) * 0.85f);
    EXPECT_EQ(mesh.vertices[0].color, (static_cast<D3DCOLOR>(alpha) << 24) + ECHO_SHELLS_RGB);
    EXPECT_EQ(mesh.vertices[1].color & 0xFFFFFFu, ECHO_SHELLS_RGB);

    // The last pass is scaled by 1.45 and turned about (0.5, 0.5, 0) by p3.
    Matrix scaling, rotation, world;
    const Vector3 axis{0.5f, 0.5f, 0.0f};
    matrix_multiply(&world, matrix_scaling(&scaling, 1.45f, 1.45f, 1.45f), matrix_rotation_axis(&rotation, &axis, 0.5f));
    const Matrix& last = device.transforms.at(D3DTRANSFORMSTATE_WORLD);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(last.m[r][c], world.m[r][c], 1e-6) << r << c;
    Matrix projection;
    matrix_perspective(&projection, kPi / 3, 0.75f, 0.001f, 10000.0f);
    EXPECT_EQ(device.transforms.at(D3DTRANSFORMSTATE_PROJECTION), projection);

    // The fading starts again from the plasma on the next frame.
    draw_echo_shells(&shells);
    EXPECT_EQ(mesh.vertices[0].color, (static_cast<D3DCOLOR>(alpha) << 24) + ECHO_SHELLS_RGB);
}

}  // namespace
