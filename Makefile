# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README. Both install what is missing, then build.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
RUN_DIR ?= $(BUILD_DIR)/run
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test test-asan run package bench fuzz clean

all: build

deps:
	bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD_DIR)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: deps configure
	cmake --build $(BUILD_DIR) --target brenzo -j $(JOBS)
	bash scripts/run.sh $(BUILD_DIR) $(RUN_DIR)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# leak check included (scripts/lsan.supp names the system libraries whose
# one-time allocations are not ours). The package test is left out: it
# would package a sanitized program.
ASAN_DIR ?= build-asan
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DBRENZO_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) -E tst_package

# Benchmarks against their peers (bench/README.md); not part of `make test`.
bench: deps
	bash bench/run-benchmarks.sh

# libFuzzer targets with ASan and UBSan, FUZZ_SECONDS each (fuzz/run-fuzzers.sh).
FUZZ_SECONDS ?= 600
fuzz: deps
	bash fuzz/run-fuzzers.sh $(FUZZ_SECONDS)

package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
