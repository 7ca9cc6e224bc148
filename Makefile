# Thin wrapper around CMake: `make run` and `make test` do all the set-up on a
# fresh Debian or Ubuntu machine (see README.md).

BUILD_DIR := build
SOURCES = $(shell find calc jgj55 gbt50107 notice design report session ui app tests tools bench fuzz web \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_conversions fuzz_calculate fuzz_design fuzz_jgj55 fuzz_gbt50107

.PHONY: all deps configure build test run package lint format format-check check-asan bench fuzz web web-test clean

all: build

deps:
	@scripts/install-deps test

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev -j $(JOBS)

test: format-check build
	@ctest --preset dev -j $(JOBS)

# The program alone: neither GoogleTest nor Google Benchmark is needed.
run:
	@scripts/install-deps
	@cmake --preset app >/dev/null
	@cmake --build --preset app --target lanshi -j $(JOBS)
	@$(BUILD_DIR)/lanshi

# The Debian package, checked as Debian checks its own.
package:
	@scripts/install-deps package
	@cmake --preset app >/dev/null
	@cmake --build --preset app -j $(JOBS)
	@cd $(BUILD_DIR) && cpack -G DEB
	@appstreamcli validate --no-net --pedantic $(BUILD_DIR)/app/*.metainfo.xml
	@lintian --pedantic --display-info --fail-on error,warning,info,pedantic $(BUILD_DIR)/lanshi_*.deb

# clang-tidy with .clang-tidy over the program's own code (calc, jgj55, gbt50107, design,
# report, session, ui, app, tools, and the web module's entry points); every
# finding fails. Needs the compile commands of a configured build.
LINT_FILES := '$(CURDIR)/(calc|jgj55|gbt50107|notice|design|report|session|ui|app|tools|web)/[^/]*\.cpp$$'
lint: configure
	@run-clang-tidy -quiet -p $(BUILD_DIR) -j $(JOBS) $(LINT_FILES) >$(BUILD_DIR)/lint.log 2>&1 \
		|| { grep -E '(warning|error):' -A3 $(BUILD_DIR)/lint.log; exit 1; }
	@echo "lint: no findings"

# The whole test suite again, built with AddressSanitizer and UBSan.
check-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# Benchmarks of the calculation, the conversions, design files, the report and
# the window (offscreen).
bench: build
	@$(BUILD_DIR)/bench/bench_calculate
	@$(BUILD_DIR)/bench/bench_design
	@$(BUILD_DIR)/bench/bench_report
	@if [ -x $(BUILD_DIR)/bench/bench_window ]; then QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/bench_window; fi

# Each libFuzzer target for FUZZ_SECONDS, seeded from fuzz/corpus/<target>;
# what it finds is kept in build-fuzz/corpus/<target>.
fuzz:
	@scripts/install-deps fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$t; \
		echo "== $$t for $(FUZZ_SECONDS) s"; \
		build-fuzz/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			build-fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# The WebAssembly module (build-web/web/lanshi.js), built by Debian's
# Emscripten from the same calc/, design/ and report/ sources, and the page
# around it (build-web/site/: index.html, the module, the layout table, the
# user's guide). Built for size (-Os): the page loads the module on every
# start, and a third less of it is a third less to read, decode and compile.
# Debian's emcc runs on Debian's node modules; its loader predates node's own
# fetch.
WEB_DIR := build-web
WEB_ENV := NODE_PATH=/usr/share/nodejs
NODE_TEST := node --no-experimental-fetch --test
web:
	@scripts/install-deps web
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel -DLANSHI_WERROR=ON \
		-DLANSHI_BUILD_UI=OFF -DLANSHI_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_DIR) --target lanshi_web calc_web_tests site -j $(JOBS)

# The conversion tests built for WebAssembly, under node; then the module
# against the native program: the golden cases, design files and reports byte
# for byte (web/tests/), the native side made by build/tools/replay,
# build/tools/designfile, build/tools/classicevents and build/lanshi --report;
# and the page in Debian's headless Chromium (web/tests/browser/, driven by
# playwright-core from npm; node's own fetch left on, which playwright needs).
web-test: web configure
	@node --no-experimental-fetch $(WEB_DIR)/web/calc_web_tests.js --gtest_brief=1
	@cmake --build --preset dev --target replay designfile classicevents lanshi -j $(JOBS)
	@LANSHI_WEB_MODULE=$(CURDIR)/$(WEB_DIR)/web/lanshi.js LANSHI_NATIVE_BUILD=$(CURDIR)/$(BUILD_DIR) \
		$(NODE_TEST) web/tests/*.test.cjs
	@cd web/tests/browser && npm ci --no-audit --no-fund --loglevel=error
	@LANSHI_WEB_MODULE=$(CURDIR)/$(WEB_DIR)/web/lanshi.js LANSHI_NATIVE_BUILD=$(CURDIR)/$(BUILD_DIR) \
		LANSHI_SITE=$(CURDIR)/$(WEB_DIR)/site node --test web/tests/browser/

format: deps
	@clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz $(WEB_DIR)
