# The device layer's benchmark loads on both backends side by side: software rasterizer and OpenGL.
vireline_benchmark(bench_d3d_gl SOURCES d3d_gl_bench.cpp d3d_loads.cpp "${PROJECT_SOURCE_DIR}/tests/platform/d3d/gl/gl_scenes.cpp"
  DEPS vireline_d3d vireline_d3d_gl)
