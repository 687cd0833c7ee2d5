# The decompression libraries of the archive library's codec layer. Deflate goes through ISA-L's
# inflater when it is installed (about twice zlib's speed), else through zlib; the choice is
# made here, once, and named by KarvexVersion and `zqr --version`.
find_package(ZLIB REQUIRED)
find_package(BZip2 REQUIRED)
pkg_check_modules(LIBLZMA REQUIRED IMPORTED_TARGET liblzma)
pkg_check_modules(LIBZSTD REQUIRED IMPORTED_TARGET libzstd)

option(KARVEX_USE_ISAL "Inflate with ISA-L when it is installed" ON)
set(KARVEX_INFLATER zlib)
if(KARVEX_USE_ISAL)
  find_path(ISAL_INCLUDE_DIR isa-l/igzip_lib.h)
  find_library(ISAL_LIBRARY isal)
  if(ISAL_INCLUDE_DIR AND ISAL_LIBRARY)
    set(KARVEX_INFLATER isa-l)
  endif()
endif()
message(STATUS "karvex: deflate through ${KARVEX_INFLATER}")

function(karvex_link_codecs target)
  target_link_libraries(${target}
    PRIVATE ZLIB::ZLIB BZip2::BZip2 PkgConfig::LIBLZMA PkgConfig::LIBZSTD)
  target_compile_definitions(${target} PRIVATE KARVEX_INFLATER="${KARVEX_INFLATER}")
  if(KARVEX_INFLATER STREQUAL "isa-l")
    target_compile_definitions(${target} PRIVATE KARVEX_WITH_ISAL)
    target_include_directories(${target} PRIVATE ${ISAL_INCLUDE_DIR})
    target_link_libraries(${target} PRIVATE ${ISAL_LIBRARY})
  endif()
endfunction()
