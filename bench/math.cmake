vireline_benchmark(bench_math SOURCES math_bench.cpp DEPS vireline_math)
