# The two commands of the README. Both install what is missing, then build.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
RUN_DIR ?= $(BUILD_DIR)/run
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test run package clean

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

package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)
