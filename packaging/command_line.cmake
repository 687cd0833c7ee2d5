# The manual pages and bash completions of the two commands, each installed with the package of
# its command: the viewer's with `viewer`, zqr's with `zqr`. The pages are compressed as
# distributions ship them (gzip -9n: no name or time stamp, so the same page gives the same bytes).

find_program(GZIP_EXECUTABLE gzip REQUIRED)

foreach(page varnelook zqr)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/man/${page}.1)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${source} > ${compressed}
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}.1"
    VERBATIM)
  list(APPEND compressed_pages ${compressed})
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${compressed_pages})

install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/varnelook.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT viewer)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/zqr.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT zqr)

# bash-completion loads a command's completion from a file named after the command, on first use.
install(FILES completion/varnelook
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT viewer)
install(FILES completion/zqr
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT zqr)
