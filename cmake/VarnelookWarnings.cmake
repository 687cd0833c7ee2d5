# Warnings are errors on the project's own code; third-party headers come in as system headers.
function(varnelook_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
