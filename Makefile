# make build  install what is missing, build the program and the programs it starts (not the tests)
# make run    install what is missing, build, start the program
# make test   install what is missing, build with warnings as errors, run every test
# make test SANITIZE=1   the same under AddressSanitizer and UndefinedBehaviorSanitizer
# make bench  build and run the benchmarks; fails naming each goal missed
# make fuzz   build the parsers' fuzz targets with clang and run each FUZZ_SECONDS (default 20)
# make arm64  build as make test does, then compile the program's every source file for arm64 (compiling only)
# make mutants  run the table of mends' undoings (tests/mutants); make mutants ROWS=name,name runs those rows,
#               make mutants CHANGED=1 the rows on the files the change edits since main (CHANGED=BASE: since BASE)
SANITIZE ?= 0
JOBS ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 20

# The tests' builds keep the line tables (-g1), not the whole debug
# information: a failure's or a sanitizer's report still names file and line,
# and compiling and linking take about a third less time.
LINE_TABLES := -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_DEBUG="-g1"

ifeq ($(SANITIZE),1)
TEST_BUILD := build/test-sanitize
TEST_FLAGS := -DZV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(LINE_TABLES)
else
TEST_BUILD := build/test
TEST_FLAGS := -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LINE_TABLES)
endif

.PHONY: build run test bench fuzz arm64 mutants deps clean

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	@cmake --build build/run -j $(JOBS) --target zv_program

run: build
	@scripts/run-program build/run/bin/zorvatek

test: deps
	@scripts/mutants --check
	@cmake -S . -B $(TEST_BUILD) -G Ninja -DZV_WERROR=ON $(TEST_FLAGS) >/dev/null
	@cmake --build $(TEST_BUILD) -j $(JOBS)
	@cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

# The benchmarks are built beside the program in make build's own folder, so
# that they measure the program as it is built.
bench: deps
	@cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DZV_BENCH=ON >/dev/null
	@cmake --build build/run -j $(JOBS) --target zv_program zv_benchmarks
	@scripts/run-bench build/run/bench/bin

fuzz: deps
	@cmake -S . -B build/fuzz -G Ninja -DZV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build/fuzz -j $(JOBS)
	@scripts/run-fuzz build/fuzz/fuzz tests/fuzz $(FUZZ_SECONDS)

arm64: deps
	@scripts/install-deps arm64
	@cmake -S . -B build/test -G Ninja -DZV_WERROR=ON -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LINE_TABLES) >/dev/null
	@cmake --build build/test -j $(JOBS)
	@scripts/compile-arm64 build/test $(JOBS)

mutants: deps
	@scripts/mutants --jobs $(JOBS) $(if $(ROWS),--rows $(ROWS)) \
		$(if $(filter 1,$(CHANGED)),--changed,$(if $(CHANGED),--changed $(CHANGED)))

clean:
	rm -rf build
