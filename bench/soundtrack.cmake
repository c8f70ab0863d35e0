# The soundtrack's stages (synthesis and mix, levelling) and the audio layer's decoding, per ten
# seconds of music; the whole generator is meant to stay well under 30 s.
vireline_benchmark(soundtrack_bench
  SOURCES soundtrack_bench.cpp
  DEPS vireline_soundtrack_core vireline_audio)
target_include_directories(soundtrack_bench PRIVATE "${PROJECT_SOURCE_DIR}/tools/soundtrack")
target_compile_definitions(soundtrack_bench PRIVATE
  VIRELINE_SOUNDFONT_FILE="${VIRELINE_SOUNDFONT_FILE}"
  VIRELINE_BUILT_MUSIC="${PROJECT_BINARY_DIR}/data/demo.mp3")
