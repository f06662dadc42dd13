# Tintwright: `make run` starts the editor, `make test` builds and tests everything.
BUILD_DIR ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DTINTWRIGHT_QT=ON
# tintwright.exe for 32- and 64-bit Windows, cross-compiled with MinGW-w64; the
# native build supplies the programs that write the resource files.
WIN32_BUILD_DIR ?= build-win32
WIN64_BUILD_DIR ?= build-win64
WINDOWS_CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
HOST_TOOLS = -DTINTWRIGHT_HOST_TOOLS=$(abspath $(BUILD_DIR))
# The portable code and its tests once more under AddressSanitizer and UBSan.
SANITIZE_BUILD_DIR ?= build-sanitize
SANITIZE_CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTWRIGHT_SANITIZE=ON -DTINTWRIGHT_QT=OFF \
  -DTINTWRIGHT_BENCHMARKS=OFF
# libFuzzer harnesses, built with clang under AddressSanitizer and UBSan in a
# tree of their own. `make fuzz` runs each for FUZZ_SECONDS, FUZZ_JOBS at a
# time; `make test` runs each for a few seconds.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_CMAKE_FLAGS ?= -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo
FUZZ_SECONDS ?= 600
FUZZ_JOBS ?= $(JOBS)
# `make package` writes the Debian package and the Windows zip here.
DIST_DIR ?= dist

.PHONY: all deps configure build run test bench clean windows sanitize fuzz-build fuzz package

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# A first run gets the sample location book beside the editor.
run: build
	@if [ -x $(BUILD_DIR)/frontends/qt/tintwright ]; then \
	  [ -e $(BUILD_DIR)/frontends/qt/tintwright.ini ] || cp samples/tintwright.ini $(BUILD_DIR)/frontends/qt/tintwright.ini; \
	  exec $(BUILD_DIR)/frontends/qt/tintwright; \
	else \
	  echo "The Linux editor is not built yet: only the portable core and its tests exist." >&2; exit 1; \
	fi

windows: build
	@cmake -S . -B $(WIN32_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(HOST_TOOLS) \
	  $(WINDOWS_CMAKE_FLAGS) >/dev/null
	@cmake --build $(WIN32_BUILD_DIR) -j $(JOBS)
	@cmake -S . -B $(WIN64_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake $(HOST_TOOLS) \
	  -DTINTWRIGHT_WINE_TESTS=ON $(WINDOWS_CMAKE_FLAGS) >/dev/null
	@cmake --build $(WIN64_BUILD_DIR) -j $(JOBS)

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD_DIR) $(SANITIZE_CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS) --target tintwright_tests

fuzz-build: deps
	@cmake -S fuzz -B $(FUZZ_BUILD_DIR) $(FUZZ_CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)

fuzz: fuzz-build
	@fuzz/run-fuzzers $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS)

# The Debian package of the Linux programs (CPack, from the install rules) and
# one zip with the Windows editor and console program, 32- and 64-bit.
package: build windows
	@mkdir -p $(DIST_DIR) && rm -f $(DIST_DIR)/tintwright_*.deb $(DIST_DIR)/tintwright-*-windows.zip
	@cpack --config $(BUILD_DIR)/CPackConfig.cmake -D CPACK_OUTPUT_FILE_PREFIX=$(abspath $(DIST_DIR))
	@cmake -DWIN32_EXE=$(WIN32_BUILD_DIR)/frontends/win32/tintwright.exe \
	  -DWIN64_EXE=$(WIN64_BUILD_DIR)/frontends/win32/tintwright.exe \
	  -DWIN32_PALETTE_EXE=$(WIN32_BUILD_DIR)/frontends/console/tintwright-palette.exe \
	  -DWIN64_PALETTE_EXE=$(WIN64_BUILD_DIR)/frontends/console/tintwright-palette.exe \
	  -DWIN32_PREVIEW_EXE=$(WIN32_BUILD_DIR)/frontends/preview/tintwright-preview.exe \
	  -DWIN64_PREVIEW_EXE=$(WIN64_BUILD_DIR)/frontends/preview/tintwright-preview.exe -DOUTPUT_DIR=$(DIST_DIR) \
	  -P $(BUILD_DIR)/packaging/windows-zip.cmake

# The Windows tests run the 64-bit build under Wine, one at a time.
test: build windows sanitize fuzz-build package
	@scripts/check-layers
	@scripts/check-format
	@ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure --timeout 300 -j $(JOBS) -L portable
	@ctest --test-dir $(FUZZ_BUILD_DIR) --output-on-failure --timeout 300 -j $(JOBS) -L fuzz
	@ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 300 -j $(JOBS)
	@timeout 300 tests/package/check_packages.sh $(DIST_DIR) $(BUILD_DIR)
	@ctest --test-dir $(WIN64_BUILD_DIR)/tests/win32/wine --output-on-failure --timeout 300

# The Qt benchmarks read the real screen, so they run on a virtual X server of their own.
# Each idle editor is measured twice: free, and with all its processes on one
# core. On a small virtual machine a wake-up that crosses cores costs more than
# the tick's own work and varies from run to run; on one core it does not.
bench: build
	@$(BUILD_DIR)/bench/tintwright_bench
	@if [ -x $(BUILD_DIR)/bench/tintwright_preview_bench ]; then $(BUILD_DIR)/bench/tintwright_preview_bench; fi
	@if [ -x $(BUILD_DIR)/bench/tintwright_qt_bench ]; then \
	  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD_DIR)/bench/tintwright_qt_bench; \
	fi
	@if [ -x $(BUILD_DIR)/frontends/qt/tintwright ]; then \
	  for pin in "" "taskset -c 0"; do \
	    $$pin tests/qt/idle_cpu_bench.sh $(BUILD_DIR)/frontends/qt/tintwright samples 30; \
	  done; \
	fi
	@if [ -f $(WIN64_BUILD_DIR)/frontends/win32/tintwright.exe ]; then \
	  for pin in "" "taskset -c 0"; do \
	    $$pin tests/win32/wine/wine_prefix.sh setup $(abspath $(WIN64_BUILD_DIR))/bench-wineprefix && \
	    $$pin tests/win32/wine/idle_cpu_bench.sh $(abspath $(WIN64_BUILD_DIR))/bench-wineprefix \
	      $(WIN64_BUILD_DIR)/frontends/win32/tintwright.exe 30; \
	    tests/win32/wine/wine_prefix.sh stop $(abspath $(WIN64_BUILD_DIR))/bench-wineprefix; \
	  done; \
	fi

clean:
	rm -rf $(BUILD_DIR) $(WIN32_BUILD_DIR) $(WIN64_BUILD_DIR) $(SANITIZE_BUILD_DIR) $(FUZZ_BUILD_DIR) $(DIST_DIR)
