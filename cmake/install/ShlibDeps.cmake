# Run by cpack once it has staged a package's files (CPACK_PRE_BUILD_SCRIPTS):
# the Debian package's dependencies, from dpkg-shlibdeps over its ELF files.
# CPack's own dpkg-shlibdeps support would also add ldconfig calls to the
# maintainer scripts for the modules in /usr/lib/orvik, which ldconfig does
# not serve; with those scripts the package would also stay behind, half
# removed, after apt-get remove.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
set(elf_files)
foreach(file IN LISTS files)
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    list(APPEND elf_files "${file}")
  endif()
endforeach()
# dpkg-shlibdeps wants a source package's control file where it runs.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian")
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O ${elf_files} WORKING_DIRECTORY "${work}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${status}):\n${errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
message(STATUS "ShlibDeps: Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS} (from ${CPACK_TEMPORARY_INSTALL_DIRECTORY})")
