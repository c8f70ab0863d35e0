// Per-node, per-frame math: the hierarchy product and the keyframe rotation path.
#include <benchmark/benchmark.h>

#include "math/matrix.h"
#include "math/quaternion.h"

static void BM_MatrixMultiply(benchmark::State& state) {
    Matrix a, b;
    matrix_rotation_yaw_pitch_roll(&a, 0.3f, 0.2f, 0.1f);
    matrix_translation(&b, 1.0f, 2.0f, 3.0f);
    for (auto _ : state) {
        matrix_multiply(&a, &a, &b);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_MatrixMultiply);

static void BM_SlerpToMatrix(benchmark::State& state) {
    const Vector3 axis(0.2f, 1.0f, 0.1f);
    Quaternion q1, q2, q;
    quaternion_rotation_axis(&q1, &axis, 0.1f);
    quaternion_rotation_axis(&q2, &axis, 1.9f);
    Matrix m;
    float t = 0.0f;
    for (auto _ : state) {
        quaternion_slerp(&q, &q1, &q2, t);
        matrix_rotation_quaternion(&m, &q);
        benchmark::DoNotOptimize(m);
        t = t > 1.0f ? 0.0f : t + 0.001f;
    }
}
BENCHMARK(BM_SlerpToMatrix);

static void BM_MatrixInverse(benchmark::State& state) {
    Matrix a, inv;
    matrix_rotation_yaw_pitch_roll(&a, 0.3f, 0.2f, 0.1f);
    a.m[3][0] = 4.0f;
    for (auto _ : state) benchmark::DoNotOptimize(matrix_inverse(&inv, nullptr, &a));
}
BENCHMARK(BM_MatrixInverse);
