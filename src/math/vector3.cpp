#include "math/vector3.h"

#include <cmath>

#include "math/matrix.h"

float vector3_length(const Vector3& v) { return std::sqrt(vector3_dot(v, v)); }

Vector3* vector3_normalize(Vector3* out, const Vector3* v) {
    const float x = v->x, y = v->y, z = v->z;
    const float s = x * x + y * y + z * z;
    const float off = s - 1.0f;
    if (off >= -0.00001f && off <= 0.00001f) {
        *out = Vector3(x, y, z);
    } else if (s > 1e-10f) {
        const float k = 1.0f / std::sqrt(s);
        *out = Vector3(x * k, y * k, z * k);
    } else {
        *out = Vector3(0.0f, 0.0f, 0.0f);
    }
    return out;
}

Vector3* vector3_cross(Vector3* out, const Vector3* a, const Vector3* b) {
    const Vector3 r(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x);
    *out = r;
    return out;
}

void vector3_transform_point(Vector3* v, const Matrix* m) {
    const float x = v->x, y = v->y, z = v->z;
    const auto& e = m->m;
    v->x = x * e[0][0] + y * e[1][0] + z * e[2][0] + e[3][0];
    v->y = x * e[0][1] + y * e[1][1] + z * e[2][1] + e[3][1];
    v->z = x * e[0][2] + y * e[1][2] + z * e[2][2] + e[3][2];
}
