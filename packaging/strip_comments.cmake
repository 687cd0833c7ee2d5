# Run by CPack on the staged files before it packs them: takes the compilers' version notes
# (.comment) out of every ELF file, as a Debian package build strips them; CMake's own strip
# leaves them in.
if(NOT CPACK_VARNELOOK_STRIP)
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_VARNELOOK_STRIP} --remove-section=.comment "${file}"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
