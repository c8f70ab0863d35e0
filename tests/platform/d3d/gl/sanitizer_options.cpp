// Leak checking is off for this test program: Mesa and SDL's video drivers keep allocations of their
// own until the process ends. (The helper's ENVIRONMENT argument says the same through ASAN_OPTIONS, but
// list-valued test properties do not survive test discovery.) Address and undefined-behaviour checks stay on.
#if defined(__SANITIZE_ADDRESS__)
#define VIRELINE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VIRELINE_ASAN 1
#endif
#endif

#ifdef VIRELINE_ASAN
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
#endif
