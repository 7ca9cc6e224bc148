# Thin wrapper around CMake: `make run` and `make test` do all the set-up on a
# fresh Debian or Ubuntu machine (see README.md).

BUILD_DIR := build
SOURCES = $(shell find calc ui app tests tools bench fuzz \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build test run format format-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev -j $(JOBS)

test: format-check build
	@ctest --preset dev -j $(JOBS)

run: build
	@$(BUILD_DIR)/lanshi

format: deps
	@clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD_DIR)
