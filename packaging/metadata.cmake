# What a distribution and a software centre read about the two packages, beside the programs:
#
#   share/doc/{varnelook,zqr}/copyright      machine-readable copyright (packaging/copyright/)
#   share/doc/{varnelook,zqr}/changelog.gz   packaging/changelog, compressed as Debian wants it
#   share/metainfo/org.example.Varnelook.metainfo.xml    the AppStream description
#   share/icons/hicolor/<size>/{apps,mimetypes}/         PNGs rendered from the SVG masters
#
# The viewer's files go to the component `viewer` (package varnelook), the tool's to `zqr`.

# The changelog's newest entry is the release: its version must be the project's, and its date is
# the release date the metainfo gives.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog changelog_lines ENCODING UTF-8)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^varnelook \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line is not an entry: ${changelog_head}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: the newest entry is ${CMAKE_MATCH_1}, the project "
                      "is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()
set(release_note "")
set(release_date "")
# The trailer line's date, as in " -- Name <mail>  Wed, 09 Dec 2026 12:00:00 +0000".
set(trailer_date "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "${trailer_date}")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    if(month LESS 10)
      set(month 0${month})
    endif()
    set(release_date ${year}-${month}-${day})
    break()
  elseif(line MATCHES "^  ([*] |  )(.*)$")
    string(APPEND release_note " ${CMAKE_MATCH_2}")
  endif()
endforeach()
if(release_date STREQUAL "" OR release_note STREQUAL "")
  message(FATAL_ERROR "packaging/changelog: the newest entry has no text or no trailer line")
endif()
string(STRIP "${release_note}" release_note)
string(REPLACE "&" "&amp;" release_note "${release_note}")
string(REPLACE "<" "&lt;" release_note "${release_note}")
string(REPLACE ">" "&gt;" release_note "${release_note}")
set(VARNELOOK_RELEASE_DATE ${release_date})
set(VARNELOOK_RELEASE_NOTE "${release_note}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/changelog)

configure_file(org.example.Varnelook.metainfo.xml.in org.example.Varnelook.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.example.Varnelook.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT viewer)

# One source changelog for both packages, as Debian keeps one per source package; gzip -n leaves
# out the name and time, so the same text gives the same bytes.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/changelog changelog
  COMMAND gzip -9nf changelog
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  VERBATIM)
add_custom_target(varnelook_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
set(doc_packages varnelook zqr)
set(doc_components viewer zqr)
foreach(package component IN ZIP_LISTS doc_packages doc_components)
  install(FILES copyright/${package} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    RENAME copyright COMPONENT ${component})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

# The desktop icons: the SVG masters in assets/icons/hicolor/scalable/ are installed as they are
# and rendered here at each fixed size the icon theme lists.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_masters ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/scalable)
set(rendered_icons "")
foreach(size 16 22 24 32 48 64 128 256)
  foreach(icon apps/varnelook mimetypes/application-x-zqr)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor/${size}x${size}/${icon}.png)
    get_filename_component(png_dir ${png} DIRECTORY)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png}
              ${icon_masters}/${icon}.svg
      DEPENDS ${icon_masters}/${icon}.svg
      VERBATIM)
    list(APPEND rendered_icons ${png})
  endforeach()
endforeach()
add_custom_target(varnelook_icons ALL DEPENDS ${rendered_icons})
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor
                  ${CMAKE_SOURCE_DIR}/assets/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT viewer)
