// Marks a stretch of code as compiled for AVX2, whichever compiler builds it (GCC's target pragma,
// clang's attribute push): only the eight-lane pixel loops and vertex stage use it, and they run only
// after the processor has been asked whether it has AVX2 (cpu_has_avx2, below).
#pragma once

#if defined(__clang__)
#define SOFT_AVX2_BEGIN _Pragma("clang attribute push(__attribute__((target(\"avx2\"))), apply_to = function)")
#define SOFT_AVX2_END _Pragma("clang attribute pop")
#else
#define SOFT_AVX2_BEGIN _Pragma("GCC push_options") _Pragma("GCC target(\"avx2\")")
#define SOFT_AVX2_END _Pragma("GCC pop_options")
#endif

namespace soft {

// Whether this processor runs the AVX2 code (asked once): the one check before any of it is chosen.
inline bool cpu_has_avx2()
{
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported;
}

}  // namespace soft
