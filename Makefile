# The two commands a newcomer needs: `make demo` and `make test`.
BUILD      := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
# `make fuzz FUZZ_SECONDS=N` runs each fuzz target for N seconds; `make test`
# runs each for a short fixed time.
FUZZ_SECONDS      ?= 600
FUZZ_TEST_SECONDS := 20
JOBS       := $(shell nproc)
CONFIGURE  := cmake -S . -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON

.PHONY: setup build fuzz-build test fuzz demo bench clean

setup:
	@scripts/setup.sh

build: setup
	@$(CONFIGURE) -B $(BUILD) >/dev/null
	@MAKEFLAGS= cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

# The whole project built with clang as well, warnings as errors, under
# AddressSanitizer and UndefinedBehaviorSanitizer, with the libFuzzer targets.
fuzz-build: setup
	@$(CONFIGURE) -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DFUZZ=ON >/dev/null
	@MAKEFLAGS= cmake --build $(FUZZ_BUILD) -j $(JOBS) -- --no-print-directory

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Every test twice: once plain, once under AddressSanitizer and
# UndefinedBehaviorSanitizer with leak checking; then each fuzz target for a
# short while, and every crash input kept under tests/fuzz/ again.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(CONFIGURE) -B $(ASAN_BUILD) -DSANITIZE=ON >/dev/null
	@MAKEFLAGS= cmake --build $(ASAN_BUILD) -j $(JOBS) -- --no-print-directory
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_TEST_SECONDS)

# The designer on a copy of examples/order.form: palette, list, rename, list.
demo: build
	@examples/demo.sh $(BUILD)/packages/designer

# Every benchmark and the whole-process comparison; rewrites
# docs/performance.md and docs/performance.png.
bench: build
	@MAKEFLAGS= cmake --build $(BUILD) -j $(JOBS) --target benchmarks -- --no-print-directory
	@bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
