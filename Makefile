# Front door: `make run` shows the main job, `make test` runs every test.
# Each target first installs what is missing (scripts/setup), then builds with CMake presets.

WERROR ?= OFF
CMAKE_FLAGS := -DTOLVEX_WERROR=$(WERROR)
BIN := build/linux/bin

.PHONY: all setup build release asan windows windows-dist run test test-linux test-asan test-wine \
	bench format clean

all: build

setup:
	@scripts/setup

build: setup
	cmake --preset linux $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset linux

release: setup
	cmake --preset linux-release $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset linux-release

asan: setup
	cmake --preset asan $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset asan

# The Windows programs, cross-built: build/windows/bin/TolvexGateway.exe and tolvex.exe.
windows: setup
	cmake --preset windows $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset windows

run: build
	@echo '$$ tolvex encode 35.658581 139.745433'
	@$(BIN)/tolvex encode 35.658581 139.745433
	@echo '$$ tolvex decode SD9.XC4.EQ2.CV5'
	@$(BIN)/tolvex decode SD9.XC4.EQ2.CV5
	@echo '$$ tolvex tokyo 35.658581 139.745433'
	@$(BIN)/tolvex tokyo 35.658581 139.745433

test-linux: build
	ctest --preset linux

test-asan: asan
	ctest --preset asan

# The Windows programs under Wine, on a private X display with a fresh Wine prefix.
test-wine: build windows
	ctest --preset wine

test: test-linux test-asan test-wine

bench: release
	build/linux-release/bin/bench_geocode

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
