# A scene frame on the software device (animate, cull, light, draw jeep1 at 320 × 240) and the
# texture manager's per-frame lookup by name among a few dozen textures.
vireline_benchmark(bench_scene_object
  SOURCES "${CMAKE_CURRENT_LIST_DIR}/scene_object_bench.cpp"
  DEPS vireline_scene_view vireline_platform)
