# The entry points of Kaldra. `make run` builds and starts the program;
# `make test` builds and runs every test. Both install missing Debian packages.

.PHONY: all deps build run test asan-test clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "kaldra: no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)."; \
	  exit 1; \
	fi
	@build/default/app/kaldra

test: build
	@ctest --preset default

asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

clean:
	@rm -rf build
