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

# Programs started once per request link the C++ runtime statically: loading the shared one
# costs about 1 ms at every start. Sanitizer builds keep the shared runtime.
function(tolvex_fast_start target)
  if(NOT TOLVEX_SANITIZE AND NOT WIN32)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
