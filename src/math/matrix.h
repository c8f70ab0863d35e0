// 4×4 single-precision matrices: row-major, element mij at m[i-1][j-1], the device's D3DMATRIX layout,
// so a Matrix goes to the device's transform calls unchanged. Row vectors (p' = p·M), translation in
// row 4, composition left to right (A·B applies A first), left-handed, angles in radians.
// Every operation takes its output first, returns it, and is alias-safe.
#pragma once

#include "math/vector3.h"

struct Quaternion;

struct Matrix {
    float m[4][4] = {};

    constexpr bool operator==(const Matrix& o) const = default;
};
static_assert(sizeof(Matrix) == 64, "Matrix must keep the device's matrix layout");

Matrix* matrix_identity(Matrix* out);

// out = A·B; any of the three records may coincide.
Matrix* matrix_multiply(Matrix* out, const Matrix* a, const Matrix* b);

// Inverse by cofactors. The determinant (when asked for) is stored first, whatever follows. Returns null
// and leaves out untouched when 1/det is not finite.
Matrix* matrix_inverse(Matrix* out, float* determinant, const Matrix* m);

Matrix* matrix_scaling(Matrix* out, float sx, float sy, float sz);
Matrix* matrix_translation(Matrix* out, float tx, float ty, float tz);
Matrix* matrix_rotation_x(Matrix* out, float angle);
Matrix* matrix_rotation_z(Matrix* out, float angle);
// Rotation about an axis that need not be unit length.
Matrix* matrix_rotation_axis(Matrix* out, const Vector3* axis, float angle);
// Rotation matrix of a unit quaternion.
Matrix* matrix_rotation_quaternion(Matrix* out, const Quaternion* q);
Matrix* matrix_rotation_yaw_pitch_roll(Matrix* out, float yaw, float pitch, float roll);
// Left-handed view matrix looking from eye at at.
Matrix* matrix_look_at(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up);
// Left-handed perspective; aspect is height / width and scales x. Maps view z = zn to 0, z = zf to 1.
Matrix* matrix_perspective(Matrix* out, float fovy, float aspect, float zn, float zf);
