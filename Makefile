# The two commands a newcomer needs: `make demo` and `make test`.
BUILD      := build
ASAN_BUILD := build-asan
JOBS       := $(shell nproc)
CONFIGURE  := cmake -S . -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON

.PHONY: setup build test demo bench clean

setup:
	@scripts/setup.sh

build: setup
	@$(CONFIGURE) -B $(BUILD) >/dev/null
	@MAKEFLAGS= cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

# Every test twice: once plain, once under AddressSanitizer and
# UndefinedBehaviorSanitizer with leak checking.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(CONFIGURE) -B $(ASAN_BUILD) -DSANITIZE=ON >/dev/null
	@MAKEFLAGS= cmake --build $(ASAN_BUILD) -j $(JOBS) -- --no-print-directory
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The designer on a copy of examples/order.form: palette, list, rename, list.
demo: build
	@examples/demo.sh $(BUILD)/packages/designer

# Every benchmark and the whole-process comparison; rewrites
# docs/performance.md and docs/performance.png.
bench: build
	@MAKEFLAGS= cmake --build $(BUILD) -j $(JOBS) --target benchmarks -- --no-print-directory
	@bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
