# Tintwright: `make run` starts the editor, `make test` builds and tests everything.
BUILD_DIR ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# A first run gets the sample location book beside the editor.
run: build
	@if [ -x $(BUILD_DIR)/ui/qt/tintwright ]; then \
	  [ -e $(BUILD_DIR)/ui/qt/tintwright.ini ] || cp samples/tintwright.ini $(BUILD_DIR)/ui/qt/tintwright.ini; \
	  exec $(BUILD_DIR)/ui/qt/tintwright; \
	else \
	  echo "The Linux editor is not built yet: only the portable core and its tests exist." >&2; exit 1; \
	fi

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure --timeout 300 -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bench/tintwright_bench

clean:
	rm -rf $(BUILD_DIR)
