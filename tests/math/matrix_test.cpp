#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/matrix.h"
#include "math/quaternion.h"

namespace {
constexpr float kPi = std::numbers::pi_v<float>;

Matrix sample_matrix(float seed) {
    Matrix m;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const float k = static_cast<float>(i * 4 + j + 1);
            m.m[i][j] = std::sin(seed * k * k + k) * 3.0f;  // not linear in k, so the matrix has full rank
        }
    return m;
}

Matrix reference_product(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += static_cast<double>(a.m[i][k]) * b.m[k][j];
            r.m[i][j] = static_cast<float>(s);
        }
    return r;
}

void expect_matrix_near(const Matrix& a, const Matrix& b, float tolerance) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], tolerance) << "element " << i + 1 << j + 1;
}

Vector3 transformed(Vector3 v, const Matrix& m) {
    vector3_transform_point(&v, &m);
    return v;
}

void expect_vector_near(const Vector3& a, const Vector3& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}
}  // namespace

TEST(MatrixMultiply, EveryAliasingGivesTheSameProduct) {
    const Matrix a = sample_matrix(0.3f), b = sample_matrix(1.1f);
    const Matrix ab = reference_product(a, b);

    Matrix out;
    matrix_multiply(&out, &a, &b);
    expect_matrix_near(out, ab, 1e-4f);

    Matrix left = a;
    matrix_multiply(&left, &left, &b);
    expect_matrix_near(left, ab, 1e-4f);

    Matrix right = b;
    matrix_multiply(&right, &a, &right);
    expect_matrix_near(right, ab, 1e-4f);

    Matrix all = a;
    EXPECT_EQ(matrix_multiply(&all, &all, &all), &all);
    expect_matrix_near(all, reference_product(a, a), 1e-4f);
}

TEST(MatrixMultiply, ComposesLeftToRight) {
    Matrix t, r, tr;
    matrix_translation(&t, 5.0f, 0.0f, 0.0f);
    matrix_rotation_z(&r, kPi / 2);
    matrix_multiply(&tr, &t, &r);  // translate first, then rotate
    expect_vector_near(transformed(Vector3(0, 0, 0), tr), Vector3(0.0f, 5.0f, 0.0f));
}

TEST(MatrixInverse, InvertsAndReportsDeterminant) {
    Matrix m = sample_matrix(0.7f);
    Matrix inv;
    float det = 0.0f;
    ASSERT_EQ(matrix_inverse(&inv, &det, &m), &inv);
    EXPECT_NE(det, 0.0f);
    Matrix id;
    matrix_identity(&id);
    Matrix product;
    matrix_multiply(&product, &m, &inv);
    expect_matrix_near(product, id, 1e-4f);

    Matrix s;
    matrix_scaling(&s, 2.0f, 4.0f, 0.5f);
    matrix_inverse(&s, &det, &s);  // in place
    EXPECT_FLOAT_EQ(det, 4.0f);
    EXPECT_FLOAT_EQ(s.m[0][0], 0.5f);
    EXPECT_FLOAT_EQ(s.m[1][1], 0.25f);
    EXPECT_FLOAT_EQ(s.m[2][2], 2.0f);
    EXPECT_EQ(matrix_inverse(&s, nullptr, &s), &s);  // the determinant output is optional
}

TEST(MatrixInverse, SingularInputFailsAndLeavesOutputUntouched) {
    Matrix m = sample_matrix(0.2f);
    for (int j = 0; j < 4; ++j) m.m[2][j] = 0.0f;  // a zero row
    Matrix out = sample_matrix(9.0f);
    const Matrix before = out;
    float det = 123.0f;
    EXPECT_EQ(matrix_inverse(&out, &det, &m), nullptr);
    EXPECT_EQ(det, 0.0f);
    EXPECT_EQ(out, before);

    // Overflowing 1/det fails the same way.
    Matrix tiny;
    matrix_scaling(&tiny, 1e-20f, 1e-20f, 1e-20f);
    EXPECT_EQ(matrix_inverse(&out, nullptr, &tiny), nullptr);
    EXPECT_EQ(out, before);
}

TEST(MatrixRotation, PositiveAnglesFollowTheLeftHandedConvention) {
    Matrix rx, rz, ry;
    matrix_rotation_x(&rx, kPi / 2);
    expect_vector_near(transformed(Vector3(0, 1, 0), rx), Vector3(0, 0, 1));  // +y towards +z
    matrix_rotation_z(&rz, kPi / 2);
    expect_vector_near(transformed(Vector3(1, 0, 0), rz), Vector3(0, 1, 0));  // +x towards +y
    const Vector3 y_axis(0.0f, 2.0f, 0.0f);                                   // not unit length
    matrix_rotation_axis(&ry, &y_axis, kPi / 2);
    expect_vector_near(transformed(Vector3(0, 0, 1), ry), Vector3(1, 0, 0));  // +z towards +x

    Matrix ax;
    const Vector3 x_axis(1.0f, 0.0f, 0.0f);
    matrix_rotation_axis(&ax, &x_axis, 0.37f);
    matrix_rotation_x(&rx, 0.37f);
    expect_matrix_near(ax, rx, 1e-6f);
}

TEST(MatrixRotation, QuaternionAndAxisAngleAgree) {
    const Vector3 axis(1.0f, -2.0f, 0.5f);
    Quaternion q;
    quaternion_rotation_axis(&q, &axis, 1.2f);
    Matrix from_q, from_axis;
    matrix_rotation_quaternion(&from_q, &q);
    matrix_rotation_axis(&from_axis, &axis, 1.2f);
    expect_matrix_near(from_q, from_axis, 1e-5f);
}

TEST(MatrixRotation, YawPitchRollIsRollThenPitchThenYaw) {
    const float yaw = 0.4f, pitch = -0.9f, roll = 1.3f;
    Matrix ypr, rz, rx, ry, chain;
    matrix_rotation_yaw_pitch_roll(&ypr, yaw, pitch, roll);
    matrix_rotation_z(&rz, roll);
    matrix_rotation_x(&rx, pitch);
    const Vector3 up(0.0f, 1.0f, 0.0f);
    matrix_rotation_axis(&ry, &up, yaw);
    matrix_multiply(&chain, &rz, &rx);
    matrix_multiply(&chain, &chain, &ry);
    expect_matrix_near(ypr, chain, 1e-5f);
}

TEST(MatrixLookAt, FromMinusZAtOriginIsATranslation) {
    const Vector3 eye(0.0f, 0.0f, -10.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    Matrix view;
    matrix_look_at(&view, &eye, &at, &up);
    Matrix expected;
    matrix_translation(&expected, 0.0f, 0.0f, 10.0f);
    EXPECT_EQ(view, expected);
}

TEST(MatrixLookAt, PutsTheTargetOnThePositiveZAxis) {
    const Vector3 eye(3.0f, 4.0f, -2.0f), at(-1.0f, 0.5f, 6.0f), up(0.0f, 1.0f, 0.0f);
    Matrix view;
    matrix_look_at(&view, &eye, &at, &up);
    const Vector3 t = transformed(at, view);
    EXPECT_NEAR(t.x, 0.0f, 1e-5f);
    EXPECT_NEAR(t.y, 0.0f, 1e-5f);
    EXPECT_NEAR(t.z, vector3_length(at - eye), 1e-4f);
    expect_vector_near(transformed(eye, view), Vector3(0, 0, 0), 1e-5f);
}

TEST(MatrixPerspective, MapsNearAndFarPlanesToZeroAndOne) {
    Matrix p;
    matrix_perspective(&p, kPi / 4, 0.75f, 0.001f, 10000.0f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_EQ(p.m[3][3], 0.0f);
    EXPECT_NEAR(p.m[1][1], 1.0f / std::tan(kPi / 8), 1e-5f);
    EXPECT_NEAR(p.m[0][0], 0.75f * p.m[1][1], 1e-5f);
    for (const float z : {0.001f, 10000.0f}) {
        // depth = (z·m33 + m43) / w, with w = z·m34 = z.
        const double depth = (static_cast<double>(z) * p.m[2][2] + p.m[3][2]) / (z * p.m[2][3]);
        EXPECT_NEAR(depth, z < 1.0f ? 0.0 : 1.0, 1e-6);
    }
}
