# Picture decoding and conversion at start-up speed: decode plus conversion per megapixel.
vireline_benchmark(bench_images
  SOURCES
    "${CMAKE_CURRENT_LIST_DIR}/images_bench.cpp"
    "${PROJECT_SOURCE_DIR}/tests/textures/image_test_files.cpp"
  DEPS vireline_images vireline_platform JPEG::JPEG)
