# The entry points of Kaldra. `make run` builds the two programs alone (in
# build/run: no tests, no benchmarks) and starts the window; `make test` builds
# everything in build/default and runs every test. Both install the missing
# Debian packages they need.

.PHONY: all deps build run test test-no-fma asan-test wasm web web-serve clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run:
	@scripts/install-deps --run
	@cmake --preset run >/dev/null
	@cmake --build --preset run
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "kaldra: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set);"; \
	  echo "drawing a random scene without a window instead."; \
	  build/run/tools/kaldra-render --png kaldra.png && \
	  echo "The picture is in $(CURDIR)/kaldra.png"; \
	else \
	  build/run/app/kaldra; \
	fi

test: build wasm
	@ctest --preset default

# The renderer's command line and the tests' diagram digest as WebAssembly for
# node (build/wasm/kaldra-render.js and its .wasm), with Debian's emscripten:
#   node --no-experimental-fetch build/wasm/kaldra-render.js --seed 4
# and the web page (build/web). make test compares the first two with the
# native build and drives the page in Chromium.
WASM_CONFIGURE = NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B build/wasm -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DKALDRA_WEB_SITE_DIR=$(CURDIR)/build/web >/dev/null
wasm: deps
	@$(WASM_CONFIGURE)
	@NODE_PATH=/usr/share/nodejs cmake --build build/wasm

# The web page alone, a static site in build/web: index.html, the page's
# script, the instrument as WebAssembly with its loader, and the icon. `make
# web-serve` serves it on http://127.0.0.1:$(WEB_PORT)/ with the headers that
# isolate it; any static host serves it as well.
WEB_PORT ?= 8788
web: deps
	@$(WASM_CONFIGURE)
	@NODE_PATH=/usr/share/nodejs cmake --build build/wasm --target kaldra-web-site

web-serve: web
	@python3 web/serve.py build/web --port $(WEB_PORT)

# The tracing and arithmetic tests again with the C library told to take the
# paths of a processor without FMA and AVX: the diagram must not notice.
NO_FMA := glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4,-AVX
test-no-fma: build
	@GLIBC_TUNABLES=$(NO_FMA) ctest --preset default -L 'test_tracing|test_arithmetic|test_geometry'

asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

clean:
	@rm -rf build

# The stress run: STRESS_SEEDS random seeds (20000) in the release build, 2000
# of them in the sanitizer build, FUZZ_SECONDS (60) of fuzzing the scene
# reader, then STRESS_ELEMENTARY_ARGUMENTS (50 million) arguments per
# correctly rounded function against MPFR. `make fuzz` runs the fuzzing alone.
.PHONY: stress fuzz

stress:
	@scripts/stress

fuzz:
	@scripts/stress fuzz

# Packaging and upkeep. `make package` builds the Debian package in
# build/package (no tests there); `make package-test` builds it, unpacks and
# checks it (desktop-file-validate, appstreamcli validate, lintian) and, as
# root, installs it with apt, runs both programs and removes it. `make docs`
# draws docs/screenshot.png again with the current renderer and
# docs/window-paced.png, docs/window-edit.png, docs/window-exact.png and
# docs/window-projector.png with the window in a virtual X server;
# `make lint` checks the layout and runs clang-tidy (see scripts/lint).
.PHONY: package package-test docs lint

PACKAGE_BUILD_DIR := build/package
DOCS_SEED := 3

package:
	@scripts/install-deps --run dpkg-dev file
	@cmake -S . -B $(PACKAGE_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKALDRA_BUILD_TESTS=OFF -DKALDRA_BUILD_BENCHMARKS=OFF >/dev/null
	@cmake --build $(PACKAGE_BUILD_DIR) --target package

package-test: package
	@scripts/install-deps --run desktop-file-utils appstream lintian shared-mime-info
	@scripts/package-test $(PACKAGE_BUILD_DIR)

docs: build
	@mkdir -p docs
	@build/default/tools/kaldra-render --seed $(DOCS_SEED) --png docs/screenshot.png --quiet
	@echo "docs/screenshot.png: seed $(DOCS_SEED)"
	@scripts/window-screenshot build/default docs/window-paced.png

lint: build
	@scripts/install-deps clang-format-14 clang-tidy-14
	@scripts/lint build/default

# The speed benchmarks (Google Benchmark), in the release build: both sweeps
# on a 17-segment and a 100-segment scene, the fast re-trace against the
# sequential sweeps, dragging in edit mode at a mouse's pace, the renderer's sweeps against the plain oracle, the
# renderer as a process, building the exact diagram, and the correctly rounded
# elementary functions against the C library's.
.PHONY: bench bench-web

bench: build
	@build/default/bench/bench_sweeps
	@build/default/bench/bench_retrace
	@build/default/bench/bench_drag
	@build/default/bench/bench_plain_ratio
	@build/default/bench/bench_render_process
	@build/default/bench/bench_exact_diagram
	@build/default/bench/bench_elementary

# The web page's re-trace of a drag in headless Chromium against the native
# re-trace, on the same 17-segment scene (after make test, which installs
# puppeteer-core for the page's tests).
bench-web: build web
	@bench/web_retrace.sh build/default build/web
