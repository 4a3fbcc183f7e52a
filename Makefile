# The everyday commands; CMake presets do the real work.
JOBS ?= $(shell nproc)
WINEPREFIX_DIR := build/windows/wineprefix

.PHONY: all deps build native windows windows32 test format format-check sanitize dist run bench screenshot clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

# The 32-bit program and its tests, for older PCs.
windows32: deps
	cmake --preset windows32 >/dev/null
	cmake --build --preset windows32 -j $(JOBS)

build: native windows windows32

test: format-check build sanitize
	scripts/check-usage
	ctest --preset native
	scripts/with-xvfb $(WINEPREFIX_DIR) ctest --preset windows
	@if scripts/runs-32bit; then \
	  scripts/with-xvfb build/windows32/wineprefix ctest --preset windows32; \
	else \
	  echo "test: the 32-bit Windows tests are skipped: this machine cannot run 32-bit x86 code, so 32-bit Wine cannot run here"; \
	fi
	ctest --preset sanitize
	ctest --preset tsan
	scripts/check-release

# One format for all C and C++ code, kept by clang-format (.clang-format).
format: deps
	scripts/check-format --fix

format-check: deps
	scripts/check-format

# The core tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and again with ThreadSanitizer for the pass's
# read-ahead threads; any report fails the run.
sanitize: deps
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize -j $(JOBS)
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan -j $(JOBS)

# The release, from clean build folders of its own:
# dist/KavrenTxtEncodingViewer-<version>-win64.zip and -win32.zip, and dist/SHA256SUMS.
dist: deps
	rm -rf build/dist build/dist32
	cmake --preset dist >/dev/null
	cmake --build --preset dist -j $(JOBS)
	cmake --preset dist32 >/dev/null
	cmake --build --preset dist32 -j $(JOBS)
	scripts/make-dist

# The README's picture: the real program handed 1,200 chapters, after
# analysing them and clicking a count of the status bar.
screenshot: windows
	scripts/with-xvfb $(WINEPREFIX_DIR) scripts/wine-run $(WINEPREFIX_DIR) build/windows/screenshot.exe build/windows/screenshot.bmp
	/usr/bin/convert build/windows/screenshot.bmp docs/screenshot.png
	@echo "screenshot: docs/screenshot.png"

# The program alone, so that a first run does not wait two minutes for every
# Windows test and benchmark. ARGS='folder or files' and DPI=144: see run-app.
run: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target KavrenTxtEncodingViewer -j $(JOBS)
	DPI='$(DPI)' scripts/run-app $(ARGS)

bench: build
	build/native/bench/pass_bench
	scripts/with-xvfb $(WINEPREFIX_DIR) scripts/wine-run $(WINEPREFIX_DIR) build/windows/window_bench.exe
	scripts/stall-bench $(WINEPREFIX_DIR)
	scripts/make-bench-tree build/bench-tree
	scripts/with-xvfb $(WINEPREFIX_DIR) scripts/wine-run $(WINEPREFIX_DIR) build/windows/drop_bench.exe 'Z:$(subst /,\,$(CURDIR))\build\bench-tree'

clean:
	rm -rf build dist
