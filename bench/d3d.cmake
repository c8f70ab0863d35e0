# The software backend on the device layer's representative loads (d3d_loads.h), in triangles and pixels
# per second, on the default thread count and on one thread.
vireline_benchmark(bench_d3d SOURCES d3d_bench.cpp d3d_loads.cpp DEPS vireline_d3d vireline_capture)
