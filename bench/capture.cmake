# Video capture at the demo's size: frames per second through the whole writer (queue, conversion,
# encoding, muxing) for each output form; the goal is at least 60 frames/s for MP4 at 640 x 480.
vireline_benchmark(capture_bench
  SOURCES "${CMAKE_CURRENT_LIST_DIR}/capture_bench.cpp"
  DEPS vireline_video)
