// Sine and cosine of one angle computed together (one library call), as every rotation here needs both.
#pragma once

#include <cmath>

inline void sin_cos(float angle, float* s, float* c) {
#if defined(__GNUC__)
    __builtin_sincosf(angle, s, c);
#else
    *s = std::sin(angle);
    *c = std::cos(angle);
#endif
}
