# Front door: `make run` shows the main job, `make test` runs every test.
# Each target first installs what is missing (scripts/setup) for what it does: the Linux build
# alone for run, build and install; the tests', the Windows and the tools' packages with the
# targets that use them. Then it builds with CMake presets.

WERROR ?= OFF
CMAKE_FLAGS := -DTOLVEX_WERROR=$(WERROR)
BIN := build/linux/bin

.PHONY: all setup setup-test setup-windows setup-tools setup-deb deb test-deb build release shared asan windows windows-dist windows-msi windows-reproducible run test test-linux test-asan \
	test-wine test-shared bench fuzz coverage tidy format clean install uninstall

all: build

setup:
	@scripts/setup

setup-test:
	@scripts/setup test

setup-windows:
	@scripts/setup windows

setup-tools:
	@scripts/setup tools test

setup-deb:
	@scripts/setup deb

# A preset's configure and build: $(call preset-build,NAME) in a recipe.
define preset-build
cmake --preset $(1) $(CMAKE_FLAGS) >/dev/null
cmake --build --preset $(1)
endef

# The tests are built where GoogleTest is installed (make test installs it): a configure that
# asks for them without it stops.
build: setup
	cmake --preset linux $(CMAKE_FLAGS) \
	  -DTOLVEX_BUILD_TESTS=$$(pkg-config --exists gtest && echo ON || echo OFF) >/dev/null
	cmake --build --preset linux

release: setup
	$(call preset-build,linux-release)

# The distribution build: Debian's shared libxml2 (TOLVEX_STATIC_LIBXML2=OFF), so that its
# security updates reach the program. Only the request path and its tests are built.
shared: setup-test
	$(call preset-build,linux-shared)

asan: setup-test
	$(call preset-build,asan)

# The Windows programs, cross-built: build/windows/bin/TolvexGateway.exe and tolvex.exe.
windows: setup-windows
	$(call preset-build,windows)

# The Windows package in build/windows/dist: TolvexGateway-VERSION-setup.exe (the installer)
# and TolvexGateway-VERSION-windows-x86_64.zip.
windows-dist: windows
	scripts/windows-dist build/windows

# The machine-wide installer for organisations: build/windows/TolvexGateway-VERSION-x64.msi
# (wixl, scripts/windows-setup.wxs) from the same files. VERSION=1.2.3 builds them as another
# version (the project's otherwise).
windows-msi: windows-dist
	scripts/windows-msi build/windows $(VERSION)

# The package is reproducible: built again in a fresh folder, it must be the same byte for byte.
windows-reproducible: windows-dist
	scripts/windows-reproducible build/windows build/windows-again $(WERROR)

LINK ?= TolVex:SD9.XC4.EQ2.CV5

# The main job: what the link opens with the default option file, then the link itself.
run: build
	@echo '$$ tolvex expand $(LINK)'
	@$(BIN)/tolvex expand '$(LINK)'
	@echo '$$ tolvexgateway $(LINK)'
	@$(BIN)/tolvexgateway '$(LINK)'; status=$$?; echo "(exit status $$status)"

test-linux: setup-test build
	ctest --preset linux

test-asan: asan
	ctest --preset asan

# The Windows programs under Wine, on a private X display with a fresh Wine prefix. Wine on a
# loaded machine now and then fails a start or a registry write for a moment, so a failed
# Wine test runs once more (the preset's repeat until-pass:2); a real fault fails both times.
test-wine: setup-test build windows-msi
	ctest --preset wine

test-shared: shared
	ctest --preset linux-shared

# Every test: the packages first (one apt at a time), then two lanes side by side. One builds
# and runs the Linux tests, then the sanitizer's and the shared-libxml2 build's; the other builds
# the Windows programs and package and runs them under Wine. The Wine tests mostly wait for Wine
# (a fifth of one core), so beside the builds they cost little time. Each target's output is
# printed whole when it ends; the first that fails stops the lanes.
test: setup-test setup-windows
	@echo "make test: the Linux tests, then the sanitizer and shared builds' tests, beside the Wine tests"
	@$(MAKE) --no-print-directory -j2 --output-sync=target TEST_LANES=1 test-shared test-wine

# The Linux lane's order: one build or test run at a time, beside the Wine lane's.
ifdef TEST_LANES
asan: | test-linux
shared: | test-asan
endif

bench: setup-test release
	build/linux-release/bin/bench_geocode
	build/linux-release/bin/bench_template
	build/linux-release/bin/bench_place_text
	bench/request.sh build/linux-release/bin
	bench/dialog.sh build/linux-release/bin

# Each fuzz target runs for FUZZ_SECONDS; any finding fails the target. New inputs go to a
# scratch corpus (the committed one is only read); findings to build/fuzz/findings/.
# The targets are listed in fuzz/CMakeLists.txt, which writes their names to fuzz_targets.txt.
FUZZ_SECONDS ?= 60

fuzz: setup-tools
	cmake --preset fuzz $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset fuzz --target fuzz_all
	@mkdir -p build/fuzz/findings
	@set -e; for t in $$(cat build/fuzz/fuzz_targets.txt); do \
	  mkdir -p build/fuzz/corpus/$$t; \
	  dict=""; [ -f fuzz/$$t.dict ] && dict="-dict=fuzz/$$t.dict"; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  build/fuzz/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/findings/$$t- $$dict \
	    build/fuzz/corpus/$$t fuzz/corpus/$$t 2>build/fuzz/$$t.log || \
	    { tail -40 build/fuzz/$$t.log; echo "fuzz_$$t found a problem"; exit 1; }; \
	  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' build/fuzz/$$t.log; \
	done

# Line and branch coverage of the core (geocode/, gateway/, place/) and the platform backends, from
# the whole test suite. HTML report: build/coverage/coverage.html.
coverage: setup-tools
	cmake --preset coverage $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset coverage
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage >/dev/null
	gcovr -r . --object-directory build/coverage \
	  --filter 'geocode/' --filter 'gateway/' --filter 'place/' --filter 'platform/' --filter 'dialog/' --filter 'services/' --filter 'app/' \
	  --exclude 'app/.*main\.cpp' --exclude 'dialog/qt/' \
	  --exclude-throw-branches --exclude-unreachable-branches \
	  --html-details build/coverage/coverage.html --print-summary

# Static analysis (.clang-tidy) of the core, the Linux backends, the dialog and the tool, through
# build/linux's compile database; then of the Win32 sources through build/windows's. clang reads
# those as the MinGW target, with the cross compiler's own C++ library folders. Win32 messages
# carry pointers in integers (LPARAM, GWLP_USERDATA), so performance-no-int-to-ptr is off there.
TIDY_SOURCES = $(shell git ls-files 'geocode/*.cpp' 'gateway/*.cpp' 'place/*.cpp' 'platform/*.cpp' \
                 'dialog/*.cpp' 'services/*.cpp' 'app/*.cpp' 'cli/*.cpp' ':(exclude)app/windows/*' ':(exclude)*_win32.cpp')
TIDY_WIN32_SOURCES = $(shell git ls-files 'platform/win32/*.cpp' 'dialog/win32/*.cpp' 'app/windows/*.cpp')
MINGW_CXX ?= x86_64-w64-mingw32-g++-posix
TIDY_WIN32_ARGS = --extra-arg=--target=x86_64-w64-mingw32 --checks=-performance-no-int-to-ptr \
  $(addprefix --extra-arg=-isystem,$(shell $(MINGW_CXX) -E -x c++ -v - </dev/null 2>&1 | \
    sed -n '/search starts here/,/End of search/p' | grep '/include/c++'))
tidy: setup-tools build windows
	clang-tidy -p build/linux --quiet $(TIDY_SOURCES)
	clang-tidy -p build/windows --quiet $(TIDY_WIN32_ARGS) $(TIDY_WIN32_SOURCES)

# The release build, for the current user, through cmake --install (cmake/Install.cmake): the
# program folder in $(PREFIX)/lib/tolvexgateway, man pages and AppStream metadata under
# $(PREFIX)/share; desktop entries and icons in the user's data folder, and the handler of
# TolVex: links registered with xdg-mime. Only what is installed is built.
PREFIX ?= $(HOME)/.local

install: setup
	cmake --preset linux-release $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset linux-release --target tolvexgateway tolvex_ui tolvex
	scripts/desktop-install install build/linux-release "$(PREFIX)"

uninstall:
	scripts/desktop-install uninstall "$(PREFIX)"

# The Debian package for all users, built by Debian's tools from a copy of this tree (debian/):
# build/deb/tolvexgateway_VERSION_amd64.deb, which lintian must pass without a word.
deb: setup-deb
	rm -rf build/deb
	mkdir -p build/deb/src
	tar -c --exclude=./build --exclude=./.git . | tar -x -C build/deb/src
	cd build/deb/src && dpkg-buildpackage -b -us -uc >../dpkg-buildpackage.log 2>&1 || \
	  { tail -40 ../dpkg-buildpackage.log; exit 1; }
	lintian --allow-root --fail-on error,warning build/deb/tolvexgateway_*_amd64.deb
	@ls -l build/deb/tolvexgateway_*_amd64.deb

# Installs the package with apt, opens a link and saves in the option window as an ordinary
# user, and purges it (as root; anyone else is told the suite was skipped): the test labelled
# package (tests/deb/package-test), which no other preset runs.
test-deb: setup-test deb
	cmake --preset linux $(CMAKE_FLAGS) >/dev/null
	ctest --preset package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
