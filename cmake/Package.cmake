# The Debian package dist/orvik-host_<version>_<arch>.deb and the tarball
# dist/orvik-host-<version>-linux-<processor>.tar.gz of the installed tree
# (cmake/Install.cmake), written by cpack (tools/package.sh). Binaries are
# stripped; the package's dependencies come from dpkg-shlibdeps
# (install/ShlibDeps.cmake).
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME ${ORVIK_PACKAGE_NAME})
set(CPACK_PACKAGE_CONTACT ${ORVIK_MAINTAINER})
set(CPACK_PACKAGE_FILE_NAME ${ORVIK_PACKAGE_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "importer plug-in for Orvik ASCII PCB files, with a reference host")
set(CPACK_PACKAGE_DESCRIPTION
    "orvik-host runs the Orvik ASCII PCB importer plug-in (libLoadOrvik.so)
against Kovlan, a stand-in host PCB module with a board in memory; both
live in /usr/lib/orvik. It recognises and imports Orvik ASCII PCB board
files (*.PCB), summarises what the import built, and writes the board as
a JSON dump, an SVG picture, a self-contained HTML page to explore it in a
browser, or a KiCad 6 board file. Its check command lists, with line and
column, what the importer would skip, misread or cut in a file.

The package also holds orvik-gen, a deterministic generator of Orvik ASCII
PCB boards of any size, and an example board.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/install/ShlibDeps.cmake)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
