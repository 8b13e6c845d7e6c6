# One interface target carries the project's compiler settings; every target links it.
add_library(tolvex_build_flags INTERFACE)

target_compile_options(tolvex_build_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  # The numeric code is specified operation by operation: no fused multiply-add.
  -ffp-contract=off
)
if(TOLVEX_WERROR)
  target_compile_options(tolvex_build_flags INTERFACE -Werror)
endif()

if(TOLVEX_COVERAGE)
  target_compile_options(tolvex_build_flags INTERFACE --coverage -fno-inline)
  target_link_options(tolvex_build_flags INTERFACE --coverage)
endif()

if(TOLVEX_SANITIZE)
  set(_sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(tolvex_build_flags INTERFACE ${_sanitize})
  target_link_options(tolvex_build_flags INTERFACE ${_sanitize})
endif()

# Fuzzing: the parsers under test are in the libraries, so libFuzzer's coverage reaches into
# every target, not only the fuzz target's own file (which adds -fsanitize=fuzzer to link).
if(TOLVEX_FUZZ)
  target_compile_options(tolvex_build_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()

# The version, with project(VERSION) its one source: `#include "version.h"`.
string(LENGTH "${PROJECT_VERSION_MINOR}" _minor_digits)
if(_minor_digits LESS 2)
  set(TOLVEX_VERSION_RESOURCE "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(TOLVEX_VERSION_RESOURCE "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
# The Windows program's manifest names its version too; the .rc finds it on the include path.
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/tolvexgateway.manifest.in
               ${PROJECT_BINARY_DIR}/generated/tolvexgateway.manifest @ONLY)
add_library(tolvex_version INTERFACE)
target_include_directories(tolvex_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# Programs started once per request link the C++ runtime statically: loading the shared one
# costs about 1 ms at every start. Sanitizer builds keep the shared runtime, and so does the
# Debian package, whose rules want the system's libraries shared.
option(TOLVEX_STATIC_CXX_RUNTIME "Link the C++ runtime statically into the programs" ON)
function(tolvex_fast_start target)
  if(TOLVEX_STATIC_CXX_RUNTIME AND NOT TOLVEX_SANITIZE AND NOT WIN32)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()

if(WIN32)
  # The Windows programs ship as single files: the C and C++ runtimes and winpthreads are
  # linked in, so nothing beside the executable has to be installed. Win32 is called through
  # its wide-character functions only; Windows 10 is the oldest system served.
  target_link_options(tolvex_build_flags INTERFACE -static $<$<NOT:$<CONFIG:Debug>>:-s>)
  # Reproducible programs: the same sources give the same bytes in any build folder. The
  # linker writes no link time into the PE header, and no build path reaches the objects.
  target_link_options(tolvex_build_flags INTERFACE -Wl,--no-insert-timestamp)
  target_compile_options(tolvex_build_flags INTERFACE
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
  target_compile_definitions(tolvex_build_flags INTERFACE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
endif()
