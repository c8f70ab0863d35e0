# The device layer's benchmark loads on both backends side by side: software rasterizer and OpenGL.
if(TARGET vireline_d3d_gl)
  vireline_benchmark(bench_d3d_gl SOURCES d3d_gl_bench.cpp d3d_loads.cpp "${PROJECT_SOURCE_DIR}/tests/d3d_gl/gl_scenes.cpp"
    DEPS vireline_d3d vireline_d3d_gl)
endif()
