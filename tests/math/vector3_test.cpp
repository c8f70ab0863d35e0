#include <gtest/gtest.h>

#include "math/matrix.h"
#include "math/vector3.h"

TEST(Vector3Normalize, NearUnitLengthIsCopiedUnchanged) {
    const Vector3 v(1.0f, 0.0f, 0.001f);
    Vector3 out;
    vector3_normalize(&out, &v);
    EXPECT_EQ(out, v);  // bit for bit: no scaling at all
}

TEST(Vector3Normalize, ScalesOtherVectorsAndZeroesTinyOnes) {
    Vector3 v(3.0f, 4.0f, 0.0f);
    vector3_normalize(&v, &v);  // in place
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_FLOAT_EQ(v.z, 0.0f);

    const Vector3 zero;
    Vector3 out(7.0f, 7.0f, 7.0f);
    vector3_normalize(&out, &zero);
    EXPECT_EQ(out, Vector3(0.0f, 0.0f, 0.0f));

    // Squared length 1e-10 is still "too short"; just above it is scaled.
    const Vector3 tiny(1e-5f, 0.0f, 0.0f);
    vector3_normalize(&out, &tiny);
    EXPECT_EQ(out.x, 0.0f);
    const Vector3 small(2e-5f, 0.0f, 0.0f);
    vector3_normalize(&out, &small);
    EXPECT_FLOAT_EQ(out.x, 1.0f);
}

TEST(Vector3Cross, IsLeftOperandCrossRightAndAliasSafe) {
    Vector3 a(1.0f, 0.0f, 0.0f);
    const Vector3 b(0.0f, 1.0f, 0.0f);
    vector3_cross(&a, &a, &b);
    EXPECT_EQ(a, Vector3(0.0f, 0.0f, 1.0f));

    const Vector3 p(1.0f, 2.0f, 3.0f), q(-4.0f, 5.0f, 0.5f);
    Vector3 r;
    vector3_cross(&r, &p, &q);
    EXPECT_FLOAT_EQ(r.x, 2.0f * 0.5f - 3.0f * 5.0f);
    EXPECT_FLOAT_EQ(r.y, 3.0f * -4.0f - 1.0f * 0.5f);
    EXPECT_FLOAT_EQ(r.z, 1.0f * 5.0f - 2.0f * -4.0f);
}

TEST(Vector3TransformPoint, UsesRowVectorAndIgnoresW) {
    Matrix m;
    matrix_translation(&m, 10.0f, 20.0f, 30.0f);
    m.m[0][3] = 5.0f;  // a w column must not divide anything
    Vector3 v(1.0f, 2.0f, 3.0f);
    vector3_transform_point(&v, &m);
    EXPECT_EQ(v, Vector3(11.0f, 22.0f, 33.0f));

    Matrix s;
    matrix_scaling(&s, 2.0f, 3.0f, 4.0f);
    s.m[1][0] = 1.0f;  // y feeds x': p·M, not M·p
    Vector3 w(1.0f, 1.0f, 1.0f);
    vector3_transform_point(&w, &s);
    EXPECT_EQ(w, Vector3(3.0f, 3.0f, 4.0f));
}
