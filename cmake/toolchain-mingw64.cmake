# Cross-building the Windows programs on Linux with Debian's mingw-w64 (x86_64, POSIX threads).
# Every tool is looked up once; a missing one stops the configure step with the package to install.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_tolvex_mingw_prefix x86_64-w64-mingw32)

function(_tolvex_require_tool variable program package)
  find_program(${variable} NAMES ${program})
  if(NOT ${variable})
    message(FATAL_ERROR
      "${program} not found: install the Debian package ${package} (scripts/setup does this)")
  endif()
endfunction()

_tolvex_require_tool(TOLVEX_MINGW_GCC ${_tolvex_mingw_prefix}-gcc-posix gcc-mingw-w64-x86-64-posix)
_tolvex_require_tool(TOLVEX_MINGW_GXX ${_tolvex_mingw_prefix}-g++-posix g++-mingw-w64-x86-64-posix)
_tolvex_require_tool(TOLVEX_MINGW_WINDRES ${_tolvex_mingw_prefix}-windres binutils-mingw-w64-x86-64)

set(CMAKE_C_COMPILER ${TOLVEX_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${TOLVEX_MINGW_GXX})
set(CMAKE_RC_COMPILER ${TOLVEX_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${_tolvex_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
