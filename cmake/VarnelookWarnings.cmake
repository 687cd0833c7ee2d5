# Warnings on the project's own code; third-party headers come in as system headers. Warnings
# stop the build only with VARNELOOK_WERROR, which the presets (and so CI) turn on: a packager or
# a newer compiler building with its own flags gets the warnings without a failed build.
option(VARNELOOK_WERROR "Treat warnings in the project's own code as errors" OFF)

function(varnelook_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VARNELOOK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
