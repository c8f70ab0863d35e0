// Sine and cosine of one angle computed together (one library call), as every rotation here needs both.
#pragma once

#include <math.h>

#include <cmath>

inline void sin_cos(float angle, float* s, float* c) {
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
    ::sincosf(angle, s, c);
#else
    *s = std::sin(angle);
    *c = std::cos(angle);
#endif
}
