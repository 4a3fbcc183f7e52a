# The everyday commands; CMake presets do the real work.
JOBS ?= $(shell nproc)
WINEPREFIX_DIR := build/windows/wineprefix

.PHONY: all deps build native windows test run bench screenshot clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

build: native windows

test: build
	ctest --preset native
	scripts/with-xvfb $(WINEPREFIX_DIR) ctest --preset windows

# The README's picture: the real program after choosing six files, analysing
# them and clicking a label.
screenshot: windows
	scripts/with-xvfb $(WINEPREFIX_DIR) scripts/wine-run $(WINEPREFIX_DIR) build/windows/screenshot.exe build/windows/screenshot.bmp
	/usr/bin/convert build/windows/screenshot.bmp docs/screenshot.png
	@echo "screenshot: docs/screenshot.png"

run: windows
	scripts/run-app

bench: build
	build/native/bench/pass_bench --benchmark_min_time=0
	scripts/with-xvfb $(WINEPREFIX_DIR) scripts/wine-run $(WINEPREFIX_DIR) build/windows/window_bench.exe

clean:
	rm -rf build
