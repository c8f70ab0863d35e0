# The effects' per-frame CPU work (blob simulation with normals and sphere map, shard ring, water wave,
# repulsor over the rig's box, echo plasma) and one frame of each effect's rig on the software and the
# OpenGL device.
if(VIRELINE_BUILD_TESTS)  # the rigs live with the tests
  vireline_benchmark(bench_effects
    SOURCES "${CMAKE_CURRENT_LIST_DIR}/effects_bench.cpp"
    DEPS vireline_effect_rigs vireline_effects vireline_platform)
endif()
