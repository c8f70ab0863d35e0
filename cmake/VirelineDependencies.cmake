# Every library the project builds against, found once here. scripts/install-deps installs them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)  # PkgConfig::IMGUI (1.86, SDL2 + OpenGL3 backends inside)

if(VIRELINE_BUILD_TESTS OR VIRELINE_FUZZ)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(VIRELINE_BUILD_BENCH AND NOT VIRELINE_FUZZ)
  find_package(benchmark REQUIRED)
endif()

find_package(JPEG REQUIRED)                             # JPEG::JPEG (libjpeg-turbo)
find_package(PNG REQUIRED)                              # PNG::PNG
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy) # PkgConfig::EPOXY
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)     # OpenGL::OpenGL, OpenGL::EGL

# Independent readers used only by tests as oracles.
if(VIRELINE_BUILD_TESTS)
  find_package(assimp CONFIG REQUIRED)                  # assimp::assimp
  find_library(LIB3DS_LIBRARY 3ds REQUIRED)             # lib3ds 1.x, no pkg-config file
  find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
endif()
