# cmake --install of a native build, into any prefix; the Debian package and
# the tarball (cmake/Package.cmake) hold the same tree:
#
#   bin/                    orvik-host, orvik-gen
#   lib/orvik/              the host PCB module and the plug-in; orvik-host
#                           finds them from its own location
#   share/man/man1/         both programs' man pages (cmake/ManPages.cmake)
#   share/doc/orvik-host/   README.md, docs/, examples/demo-board.pcb, the
#                           licence as a Debian copyright file, changelog.gz
#
# The documentation directory bears the package's name, where Debian looks
# for a package's copyright file.
set(ORVIK_PACKAGE_NAME orvik-host)
set(ORVIK_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${ORVIK_PACKAGE_NAME})
set(ORVIK_MAINTAINER "the Orvik importer authors <orvik@example.org>")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(ORVIK_INSTALL_STAGE ${PROJECT_BINARY_DIR}/install-files)

include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
orvik_man_page(TARGET orvik-host NAME "reference host for the Orvik ASCII PCB importer plug-in" SEE_ALSO orvik-gen)
orvik_man_page(TARGET orvik-gen NAME "generator of Orvik ASCII PCB boards" SEE_ALSO orvik-host)

# The licence in Debian's machine-readable copyright format: the copyright
# line's holder, and the permission text below it, each line indented and
# each empty line a lone dot.
string(REGEX REPLACE "^Copyright \\(c\\) " "" ORVIK_COPYRIGHT_HOLDER "${ORVIK_COPYRIGHT}")
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "${ORVIK_COPYRIGHT}\n" at)
string(LENGTH "${ORVIK_COPYRIGHT}\n" length)
math(EXPR at "${at} + ${length}")
string(SUBSTRING "${licence}" ${at} -1 licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " licence "${licence}")
set(ORVIK_LICENCE_TEXT " ${licence}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/install/copyright.in ${ORVIK_INSTALL_STAGE}/copyright @ONLY)

# The changelog's newest entry is this version's; a release adds its entry
# on top and gives the one below its literal version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/install/changelog.in ${ORVIK_INSTALL_STAGE}/changelog @ONLY)
add_custom_command(
  OUTPUT ${ORVIK_INSTALL_STAGE}/changelog.gz
  COMMAND ${ORVIK_GZIP} -9nkf ${ORVIK_INSTALL_STAGE}/changelog
  DEPENDS ${ORVIK_INSTALL_STAGE}/changelog
  VERBATIM)

# What an install takes; package-files builds just that (tools/package.sh).
set(ORVIK_INSTALLED_PROGRAMS orvik-host orvik-gen)
set(ORVIK_INSTALLED_MODULES Kovlan LoadOrvik)
add_custom_target(install-docs ALL DEPENDS ${ORVIK_MAN_PAGES} ${ORVIK_INSTALL_STAGE}/changelog.gz)
add_custom_target(package-files)
add_dependencies(package-files ${ORVIK_INSTALLED_PROGRAMS} ${ORVIK_INSTALLED_MODULES} install-docs)

install(TARGETS ${ORVIK_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Loaded at run time, never linked against: not executable files.
install(TARGETS ${ORVIK_INSTALLED_MODULES} LIBRARY DESTINATION ${ORVIK_INSTALL_MODULEDIR}
                                           PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${ORVIK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${ORVIK_INSTALL_STAGE}/copyright ${ORVIK_INSTALL_STAGE}/changelog.gz
        DESTINATION ${ORVIK_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${ORVIK_INSTALL_DOCDIR}/docs)
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo-board.pcb DESTINATION ${ORVIK_INSTALL_DOCDIR}/examples)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
