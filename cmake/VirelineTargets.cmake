# Target helpers shared by every folder: one place for warnings, sanitizers and include roots.

set(VIRELINE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

function(vireline_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror=switch)
  # Line tables only: file and line in profiles and sanitizer reports, at a quarter less build time
  # than full debug information.
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo,Debug>:-g1>)
  if(VIRELINE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(VIRELINE_SANITIZE)
    target_compile_options(${target} PRIVATE ${VIRELINE_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${VIRELINE_SANITIZER_FLAGS})
  endif()
  if(VIRELINE_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# vireline_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static library whose headers are included as "subsystem/header.h" from the src root.
function(vireline_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  vireline_target_defaults(${name})
endfunction()

# vireline_executable(NAME SOURCES ... [DEPS ...])
function(vireline_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  vireline_target_defaults(${name})
endfunction()

# vireline_test(NAME SOURCES ... [DEPS ...] [LABELS ...] [ENVIRONMENT ...])
# A GoogleTest binary registered with CTest test by test. Tests see VIRELINE_TESTDATA_DIR (the shared
# pictures and scenes) and VIRELINE_SOURCE_DIR, and write scratch files under the build tree.
function(vireline_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS;ENVIRONMENT" ${ARGN})
  if(NOT VIRELINE_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VIRELINE_TESTDATA_DIR="${VIRELINE_SHARED_DIR}/testdata"
    VIRELINE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VIRELINE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  vireline_target_defaults(${name})
  # gtest_discover_tests (CMake 3.25) keeps only the first element of a list-valued property, so each
  # test gets one label and at most one environment entry. The test runners (make test, .ci/run)
  # export SDL_AUDIODRIVER=dummy for every test.
  list(LENGTH ARG_ENVIRONMENT env_count)
  if(env_count GREATER 1)
    message(FATAL_ERROR "vireline_test(${name}): give at most one ENVIRONMENT entry")
  endif()
  set(properties)
  if(ARG_LABELS)
    list(GET ARG_LABELS 0 first_label)
    list(APPEND properties LABELS "${first_label}")
  endif()
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${properties})
endfunction()

# vireline_fuzzer(NAME SOURCES ... [DEPS ...]): a libFuzzer target, built only with VIRELINE_FUZZ.
function(vireline_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT VIRELINE_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_property(GLOBAL APPEND PROPERTY VIRELINE_FUZZERS ${name})
endfunction()
