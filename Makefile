# Front door for building, playing and testing. Everything goes through CMake; these targets also
# install the Debian packages the project needs (scripts/install-deps), so a fresh machine works.
#
#   make play              build and play the demo (headless machines render instead)
#   make test              build and run every test
#   make test SANITIZE=1   the same under AddressSanitizer + UndefinedBehaviorSanitizer
#   make fuzz              build the libFuzzer targets with clang and run each for FUZZ_SECONDS
#   make bench             build and run the benchmarks
#   make content-sheet     generate the demo's content and write one contact sheet PNG of it

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 45
SANITIZE ?= 0

ifeq ($(SANITIZE),1)
BUILD_DIR ?= build/sanitize
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DVIRELINE_SANITIZE=ON -DVIRELINE_BUILD_BENCH=OFF
TEST_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The program's long renders (a golden frame of every part, five-second captures, the benchmark) run
# in the plain build only; the sanitizer build still runs the program over the whole timeline, on
# clean and damaged data, and captures through the video writer's own tests.
TEST_FILTER := -E "^(DemoParts|DemoCapture|DemoBenchmark)\."
else
BUILD_DIR ?= build/release
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
TEST_ENV :=
TEST_FILTER :=
endif
FUZZ_DIR := build/fuzz

.PHONY: all deps configure build play test fuzz bench content-sheet clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

play: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vireline
	scripts/play $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && $(TEST_ENV) SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS) $(TEST_FILTER)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIRELINE_FUZZ=ON \
	  -DVIRELINE_BUILD_TESTS=OFF -DVIRELINE_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target vireline_fuzzers
	scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	scripts/run-benchmarks $(BUILD_DIR)

content-sheet: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vireline_content vireline-scene-view
	scripts/content-sheet $(BUILD_DIR)

clean:
	rm -rf build
