# Warnings on the project's own code; third-party headers come in as system headers. Warnings
# stop the build only with VARNELOOK_WERROR, which the presets (and so CI) turn on: a packager or
# a newer compiler building with its own flags gets the warnings without a failed build.
option(VARNELOOK_WERROR "Treat warnings in the project's own code as errors" OFF)

function(varnelook_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # GCC 12 at -O2/-O3 reports overlapping copies inside libstdc++ wherever a string literal is
  # added to a temporary std::string (fixed in GCC 13): a false -Wrestrict that a
  # plain Release build would show on ordinary code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(VARNELOOK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
