// Single-precision 3D vectors with the program's conventions: left-handed coordinates, row vectors
// transformed as p' = p·M. Layout matches the device's D3DVECTOR (three floats x, y, z), so a Vector3
// is handed to the device unchanged. Every operation writes its output record first-argument style
// and returns it; an output may coincide with an input.
#pragma once

struct Matrix;

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    constexpr Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vector3 operator-() const { return {-x, -y, -z}; }
    constexpr Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr Vector3& operator+=(const Vector3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    constexpr Vector3& operator-=(const Vector3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    constexpr Vector3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    constexpr bool operator==(const Vector3& o) const = default;
};
static_assert(sizeof(Vector3) == 12, "Vector3 must keep the device's vector layout");

constexpr float vector3_dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float vector3_length(const Vector3& v);

// Scales v to unit length. A squared length within 0.00001 of 1 is taken as unit and copied unchanged;
// a squared length of 1e-10 or less gives the zero vector.
Vector3* vector3_normalize(Vector3* out, const Vector3* v);

// a × b.
Vector3* vector3_cross(Vector3* out, const Vector3* a, const Vector3* b);

// v ← (v.x, v.y, v.z, 1)·M, first three components, no division by w.
void vector3_transform_point(Vector3* v, const Matrix* m);
