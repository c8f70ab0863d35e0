#include "math/quaternion.h"

#include <cmath>

#include "math/sincos.h"

Quaternion* quaternion_rotation_axis(Quaternion* out, const Vector3* axis, float angle) {
    Vector3 n;
    vector3_normalize(&n, axis);
    float s, c;
    sin_cos(angle * 0.5f, &s, &c);
    *out = Quaternion(n.x * s, n.y * s, n.z * s, c);
    return out;
}

Quaternion* quaternion_rotation_yaw_pitch_roll(Quaternion* out, float yaw, float pitch, float roll) {
    float sy, cy, sp, cp, sr, cr;
    sin_cos(yaw * 0.5f, &sy, &cy);
    sin_cos(pitch * 0.5f, &sp, &cp);
    sin_cos(roll * 0.5f, &sr, &cr);
    *out = Quaternion(cy * sp * cr + sy * cp * sr, sy * cp * cr - cy * sp * sr, cy * cp * sr - sy * sp * cr,
                      cy * cp * cr + sy * sp * sr);
    return out;
}

Quaternion* quaternion_multiply(Quaternion* out, const Quaternion* q1, const Quaternion* q2) {
    const float x1 = q1->x, y1 = q1->y, z1 = q1->z, w1 = q1->w;
    const float x2 = q2->x, y2 = q2->y, z2 = q2->z, w2 = q2->w;
    *out = Quaternion(w2 * x1 + x2 * w1 + y2 * z1 - z2 * y1, w2 * y1 - x2 * z1 + y2 * w1 + z2 * x1,
                      w2 * z1 + x2 * y1 - y2 * x1 + z2 * w1, w2 * w1 - x2 * x1 - y2 * y1 - z2 * z1);
    return out;
}

Quaternion* quaternion_slerp(Quaternion* out, const Quaternion* q1, const Quaternion* q2, float t) {
    const Quaternion a = *q1, b = *q2;
    const float d = quaternion_dot(&a, &b);
    const float sign = d < 0.0f ? -1.0f : 1.0f;
    const float c = sign * d;
    float k1, k2;
    if (1.0f - c > 0.00001f) {
        const float s = std::sqrt(1.0f - c * c);
        const float theta = std::atan2(s, c);
        k1 = std::sin((1.0f - t) * theta) / s;
        k2 = std::sin(t * theta) / s;
    } else {
        k1 = 1.0f - t;
        k2 = t;
    }
    k2 *= sign;
    *out = Quaternion(k1 * a.x + k2 * b.x, k1 * a.y + k2 * b.y, k1 * a.z + k2 * b.z, k1 * a.w + k2 * b.w);
    return out;
}

void quaternion_to_axis_angle(const Quaternion* q, Vector3* axis, float* angle) {
    const float s = quaternion_length_sq(q);
    if (s > 1e-10f) {
        const float k = 1.0f / std::sqrt(s);
        if (axis != nullptr) *axis = Vector3(q->x * k, q->y * k, q->z * k);
        if (angle != nullptr) *angle = 2.0f * std::acos(q->w);
    } else {
        if (axis != nullptr) *axis = Vector3(1.0f, 0.0f, 0.0f);
        if (angle != nullptr) *angle = 0.0f;
    }
}

float quaternion_dot(const Quaternion* q1, const Quaternion* q2) {
    return q1->x * q2->x + q1->y * q2->y + q1->z * q2->z + q1->w * q2->w;
}

float quaternion_length_sq(const Quaternion* q) { return quaternion_dot(q, q); }
