# Every library the project builds against, found once here. scripts/install-deps installs them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)

if(VIRELINE_BUILD_TESTS OR VIRELINE_FUZZ)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(VIRELINE_BUILD_BENCH AND NOT VIRELINE_FUZZ)
  find_package(benchmark REQUIRED)
endif()
