vireline_benchmark(bench_d3d SOURCES d3d_bench.cpp DEPS vireline_d3d)
