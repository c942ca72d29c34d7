# Varnet: `make run` builds and starts the reader, `make test` runs the whole
# suite, `make bench` runs the benchmarks. Each first installs what is missing.
# `make test` also runs the suite under AddressSanitizer and
# UndefinedBehaviorSanitizer (in ASAN_BUILD), every fuzz target for
# FUZZ_TEST_SECONDS and, last, the format check of the C++ sources;
# `make fuzz` runs every fuzz target for FUZZ_SECONDS. The three builds are
# the configure presets release, asan and fuzz of CMakePresets.json.

BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 10
BENCH_ROUNDS ?= 10
# The same as the asan test preset's environment: ctest's --preset ignores
# --test-dir, so the Makefile, whose build folders can be moved, runs ctest
# in the folder itself.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

.PHONY: all setup bench-setup configure build run test bench clean asan-test fuzz-build fuzz format-check install

all: build

setup:
	@sh scripts/setup.sh

configure: setup
	@cmake --preset release -B $(BUILD) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/src/ui/varnet $(ARGS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory asan-test fuzz-build
	@sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TEST_SECONDS)
	@$(MAKE) --no-print-directory format-check

asan-test: setup
	@cmake --preset asan -B $(ASAN_BUILD) > /dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

fuzz-build: setup
	@cmake --preset fuzz -B $(FUZZ_BUILD) > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target varnet_fuzzers

# The C++ sources as .clang-format lays them out (reads, changes nothing).
format-check: setup
	@sh scripts/format-check.sh

fuzz: fuzz-build
	@sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The benchmarks' own packages come first: the build looks for the X-level
# timer's library when it configures.
bench-setup:
	@sh scripts/setup.sh bench

bench: bench-setup
	@$(MAKE) --no-print-directory build
	@sh bench/run.sh $(BUILD) $(BENCH_ROUNDS)

clean:
	@rm -rf $(BUILD)

# Installs into PREFIX (default /usr/local; DESTDIR is honoured): the program
# and its data in lib/varnet/, bin/varnet, the launcher, icons, metainfo and
# the manual page.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)
