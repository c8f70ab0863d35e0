#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/matrix.h"
#include "math/quaternion.h"

namespace {
constexpr float kPi = std::numbers::pi_v<float>;

void expect_quaternion_near(const Quaternion& a, const Quaternion& b, float tolerance = 1e-6f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
    EXPECT_NEAR(a.w, b.w, tolerance);
}
}  // namespace

TEST(QuaternionRotationAxis, IsHalfAngleAboutNormalisedAxis) {
    const Vector3 axis(0.0f, 0.0f, 5.0f);
    Quaternion q;
    quaternion_rotation_axis(&q, &axis, kPi / 2);
    expect_quaternion_near(q, Quaternion(0.0f, 0.0f, std::sin(kPi / 4), std::cos(kPi / 4)));
}

TEST(QuaternionMultiply, AppliesFirstArgumentFirst) {
    const Vector3 x(1, 0, 0), z(0, 0, 1);
    Quaternion qx, qz, p;
    quaternion_rotation_axis(&qx, &x, 0.7f);
    quaternion_rotation_axis(&qz, &z, -1.1f);
    quaternion_multiply(&p, &qx, &qz);  // qx then qz

    Matrix mx, mz, chain, mp;
    matrix_rotation_quaternion(&mx, &qx);
    matrix_rotation_quaternion(&mz, &qz);
    matrix_multiply(&chain, &mx, &mz);
    matrix_rotation_quaternion(&mp, &p);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(mp.m[i][j], chain.m[i][j], 1e-5f);

    quaternion_multiply(&qx, &qx, &qz);  // in place on the first input
    expect_quaternion_near(qx, p);
}

TEST(QuaternionSlerp, EndpointsMidpointAndShortestArc) {
    const Vector3 y(0, 1, 0);
    Quaternion a, b, out;
    quaternion_rotation_axis(&a, &y, 0.2f);
    quaternion_rotation_axis(&b, &y, 1.4f);
    quaternion_slerp(&out, &a, &b, 0.0f);
    expect_quaternion_near(out, a);
    quaternion_slerp(&out, &a, &b, 1.0f);
    expect_quaternion_near(out, b);
    Quaternion mid;
    quaternion_rotation_axis(&mid, &y, 0.8f);
    quaternion_slerp(&out, &a, &b, 0.5f);
    expect_quaternion_near(out, mid, 1e-5f);

    // With b negated (the same rotation) the result is the same rotation, not the long way round.
    const Quaternion nb(-b.x, -b.y, -b.z, -b.w);
    quaternion_slerp(&out, &a, &nb, 0.5f);
    expect_quaternion_near(out, mid, 1e-5f);
}

TEST(QuaternionSlerp, OppositeQuaternionsTakeTheLinearBranch) {
    const Quaternion q(0.5f, 0.5f, 0.5f, 0.5f), nq(-0.5f, -0.5f, -0.5f, -0.5f);
    Quaternion out;
    quaternion_slerp(&out, &q, &nq, 0.5f);
    EXPECT_EQ(out, q);
    quaternion_slerp(&out, &q, &q, 0.25f);  // equal inputs: plain blend
    EXPECT_EQ(out, q);
}

TEST(QuaternionToAxisAngle, IdentityZeroAndOrdinaryQuaternions) {
    Vector3 axis(9, 9, 9);
    float angle = 9.0f;
    const Quaternion identity(0, 0, 0, 1);
    quaternion_to_axis_angle(&identity, &axis, &angle);
    EXPECT_EQ(axis, Vector3(0, 0, 0));
    EXPECT_EQ(angle, 0.0f);

    const Quaternion zero(0, 0, 0, 0);
    quaternion_to_axis_angle(&zero, &axis, &angle);
    EXPECT_EQ(axis, Vector3(1, 0, 0));
    EXPECT_EQ(angle, 0.0f);

    const Vector3 dir(0.0f, 3.0f, 4.0f);
    Quaternion q;
    quaternion_rotation_axis(&q, &dir, 1.0f);
    quaternion_to_axis_angle(&q, &axis, nullptr);  // either output may be absent
    quaternion_to_axis_angle(&q, nullptr, &angle);
    EXPECT_NEAR(angle, 1.0f, 1e-5f);
    // The axis is the vector part over the whole length, not over its own length.
    EXPECT_NEAR(axis.y, 0.6f * std::sin(0.5f), 1e-6f);
    EXPECT_NEAR(axis.z, 0.8f * std::sin(0.5f), 1e-6f);
}

TEST(QuaternionYawPitchRoll, SingleAnglesMatchAxisRotations) {
    Quaternion q, expected;
    const Vector3 y(0, 1, 0), x(1, 0, 0), z(0, 0, 1);
    quaternion_rotation_yaw_pitch_roll(&q, 0.6f, 0.0f, 0.0f);
    quaternion_rotation_axis(&expected, &y, 0.6f);
    expect_quaternion_near(q, expected);
    quaternion_rotation_yaw_pitch_roll(&q, 0.0f, 0.6f, 0.0f);
    quaternion_rotation_axis(&expected, &x, 0.6f);
    expect_quaternion_near(q, expected);
    quaternion_rotation_yaw_pitch_roll(&q, 0.0f, 0.0f, 0.6f);
    quaternion_rotation_axis(&expected, &z, 0.6f);
    expect_quaternion_near(q, expected);
}
