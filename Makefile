# Front door: `make run` shows the main job, `make test` runs every test.
# Each target first installs what is missing (scripts/setup), then builds with CMake presets.

WERROR ?= OFF
CMAKE_FLAGS := -DTOLVEX_WERROR=$(WERROR)
BIN := build/linux/bin

.PHONY: all setup build release asan run test test-linux test-asan bench format clean

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

LINK ?= TolVex:SD9.XC4.EQ2.CV5

# The main job: what the link opens with the default option file, then the link itself.
run: build
	@echo '$$ tolvex expand $(LINK)'
	@$(BIN)/tolvex expand '$(LINK)'
	@echo '$$ tolvexgateway $(LINK)'
	@$(BIN)/tolvexgateway '$(LINK)'; status=$$?; echo "(exit status $$status)"

test-linux: build
	ctest --preset linux

test-asan: asan
	ctest --preset asan

test: test-linux test-asan

bench: release
	build/linux-release/bin/bench_geocode
	bench/request.sh build/linux-release/bin

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
