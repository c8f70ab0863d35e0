# Reading a 50k-triangle 3DS scene with full keyframer data (goal: well under 20 ms), and evaluating it.
vireline_benchmark(bench_scene3ds
  SOURCES
    "${CMAKE_CURRENT_LIST_DIR}/scene3ds_bench.cpp"
    "${PROJECT_SOURCE_DIR}/tests/scene3ds/sample_scenes.cpp"
  DEPS vireline_scene3ds vireline_3ds_writer)
