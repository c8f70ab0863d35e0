#include "math/matrix.h"

#include <cmath>

#include "math/quaternion.h"
#include "math/sincos.h"

Matrix* matrix_identity(Matrix* out) {
    *out = Matrix{};
    out->m[0][0] = out->m[1][1] = out->m[2][2] = out->m[3][3] = 1.0f;
    return out;
}

Matrix* matrix_multiply(Matrix* out, const Matrix* a, const Matrix* b) {
    // The product goes to a local record first, which makes every aliasing of out, a and b safe.
    Matrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] + a->m[i][2] * b->m[2][j] +
                        a->m[i][3] * b->m[3][j];
        }
    }
    *out = r;
    return out;
}

Matrix* matrix_inverse(Matrix* out, float* determinant, const Matrix* m) {
    const auto& a = m->m;
    // 2×2 sub-determinants of the upper two rows (s) and the lower two rows (c).
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (determinant != nullptr) *determinant = det;
    const float r = 1.0f / det;
    if (!std::isfinite(r)) return nullptr;

    Matrix inv;
    auto& b = inv.m;
    b[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * r;
    b[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * r;
    b[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * r;
    b[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * r;
    b[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * r;
    b[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * r;
    b[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * r;
    b[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * r;
    b[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * r;
    b[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * r;
    b[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * r;
    b[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * r;
    b[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * r;
    b[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * r;
    b[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * r;
    b[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * r;
    *out = inv;
    return out;
}

Matrix* matrix_scaling(Matrix* out, float sx, float sy, float sz) {
    *out = Matrix{};
    out->m[0][0] = sx;
    out->m[1][1] = sy;
    out->m[2][2] = sz;
    out->m[3][3] = 1.0f;
    return out;
}

Matrix* matrix_translation(Matrix* out, float tx, float ty, float tz) {
    matrix_identity(out);
    out->m[3][0] = tx;
    out->m[3][1] = ty;
    out->m[3][2] = tz;
    return out;
}

Matrix* matrix_rotation_x(Matrix* out, float angle) {
    float s, c;
    sin_cos(angle, &s, &c);
    matrix_identity(out);
    out->m[1][1] = c;
    out->m[1][2] = s;
    out->m[2][1] = -s;
    out->m[2][2] = c;
    return out;
}

Matrix* matrix_rotation_z(Matrix* out, float angle) {
    float s, c;
    sin_cos(angle, &s, &c);
    matrix_identity(out);
    out->m[0][0] = c;
    out->m[0][1] = s;
    out->m[1][0] = -s;
    out->m[1][1] = c;
    return out;
}

Matrix* matrix_rotation_axis(Matrix* out, const Vector3* axis, float angle) {
    Vector3 n;
    vector3_normalize(&n, axis);
    float s, c;
    sin_cos(angle, &s, &c);
    const float e = 1.0f - c;
    Matrix r;
    r.m[0][0] = e * n.x * n.x + c;
    r.m[0][1] = e * n.x * n.y + n.z * s;
    r.m[0][2] = e * n.x * n.z - n.y * s;
    r.m[1][0] = e * n.x * n.y - n.z * s;
    r.m[1][1] = e * n.y * n.y + c;
    r.m[1][2] = e * n.y * n.z + n.x * s;
    r.m[2][0] = e * n.x * n.z + n.y * s;
    r.m[2][1] = e * n.y * n.z - n.x * s;
    r.m[2][2] = e * n.z * n.z + c;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

Matrix* matrix_rotation_quaternion(Matrix* out, const Quaternion* q) {
    const float x = q->x, y = q->y, z = q->z, w = q->w;
    Matrix r;
    r.m[0][0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
    r.m[0][1] = 2.0f * x * y + 2.0f * z * w;
    r.m[0][2] = 2.0f * x * z - 2.0f * y * w;
    r.m[1][0] = 2.0f * x * y - 2.0f * z * w;
    r.m[1][1] = 1.0f - 2.0f * x * x - 2.0f * z * z;
    r.m[1][2] = 2.0f * y * z + 2.0f * x * w;
    r.m[2][0] = 2.0f * x * z + 2.0f * y * w;
    r.m[2][1] = 2.0f * y * z - 2.0f * x * w;
    r.m[2][2] = 1.0f - 2.0f * x * x - 2.0f * y * y;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

Matrix* matrix_rotation_yaw_pitch_roll(Matrix* out, float yaw, float pitch, float roll) {
    Quaternion q;
    quaternion_rotation_yaw_pitch_roll(&q, yaw, pitch, roll);
    return matrix_rotation_quaternion(out, &q);
}

Matrix* matrix_look_at(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up) {
    const Vector3 e = *eye;
    Vector3 z = *at - e;
    vector3_normalize(&z, &z);
    Vector3 x;
    vector3_cross(&x, up, &z);
    vector3_normalize(&x, &x);
    Vector3 y;
    vector3_cross(&y, &z, &x);
    Matrix r;
    r.m[0][0] = x.x; r.m[0][1] = y.x; r.m[0][2] = z.x; r.m[0][3] = 0.0f;
    r.m[1][0] = x.y; r.m[1][1] = y.y; r.m[1][2] = z.y; r.m[1][3] = 0.0f;
    r.m[2][0] = x.z; r.m[2][1] = y.z; r.m[2][2] = z.z; r.m[2][3] = 0.0f;
    r.m[3][0] = -vector3_dot(x, e);
    r.m[3][1] = -vector3_dot(y, e);
    r.m[3][2] = -vector3_dot(z, e);
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

Matrix* matrix_perspective(Matrix* out, float fovy, float aspect, float zn, float zf) {
    float s, c;
    sin_cos(fovy * 0.5f, &s, &c);
    const float h = c / s;
    const float q = zf / (zf - zn);
    *out = Matrix{};
    out->m[0][0] = aspect * h;
    out->m[1][1] = h;
    out->m[2][2] = q;
    out->m[2][3] = 1.0f;
    out->m[3][2] = -zn * zf / (zf - zn);
    return out;
}
