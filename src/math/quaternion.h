// Rotation quaternions (x, y, z, w), scalar last; a rotation by a about unit axis n is
// (n·sin(a/2), cos(a/2)). Operations take their output first, return it and are alias-safe.
#pragma once

#include "math/vector3.h"

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr bool operator==(const Quaternion& o) const = default;
};

Quaternion* quaternion_rotation_axis(Quaternion* out, const Vector3* axis, float angle);
// Roll about z, then pitch about x, then yaw about y.
Quaternion* quaternion_rotation_yaw_pitch_roll(Quaternion* out, float yaw, float pitch, float roll);
// Hamilton product q2 ⊗ q1: the rotation q1 followed by q2.
Quaternion* quaternion_multiply(Quaternion* out, const Quaternion* q1, const Quaternion* q2);
// Spherical interpolation along the shortest arc; a linear blend when the two are nearly equal or opposite.
Quaternion* quaternion_slerp(Quaternion* out, const Quaternion* q1, const Quaternion* q2, float t);
// Axis and angle of q; either output may be null. A (near) zero quaternion gives axis (1,0,0), angle 0.
void quaternion_to_axis_angle(const Quaternion* q, Vector3* axis, float* angle);
float quaternion_dot(const Quaternion* q1, const Quaternion* q2);
float quaternion_length_sq(const Quaternion* q);
