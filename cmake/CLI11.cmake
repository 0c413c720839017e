# CLI11, the header-only command-line parser of orvik-host, from the build
# machine (Debian's libcli11-dev; tools/setup.sh installs it). Its headers
# are copied into the build tree at configure time and reached from there,
# for native and cross builds alike: a cross toolchain confines look-ups to
# its own root, and adding /usr/include to a cross compiler's search would
# put the build machine's C library headers ahead of the target's.
find_path(ORVIK_CLI11_INCLUDE_DIR CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH DOC "Directory that holds CLI/CLI.hpp")
if(NOT ORVIK_CLI11_INCLUDE_DIR)
  message(FATAL_ERROR "CLI11 not found (CLI/CLI.hpp); tools/setup.sh native installs it")
endif()
file(STRINGS ${ORVIK_CLI11_INCLUDE_DIR}/CLI/Version.hpp _cli11_version REGEX "#define CLI11_VERSION \"")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" _cli11_version "${_cli11_version}")
if(_cli11_version VERSION_LESS 2.1)
  message(FATAL_ERROR "CLI11 ${_cli11_version} in ${ORVIK_CLI11_INCLUDE_DIR} is older than 2.1")
endif()

set(_cli11_copy ${PROJECT_BINARY_DIR}/cli11/include)
file(REMOVE_RECURSE ${_cli11_copy})
file(COPY ${ORVIK_CLI11_INCLUDE_DIR}/CLI DESTINATION ${_cli11_copy})
# A new version of the package configures again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVIK_CLI11_INCLUDE_DIR}/CLI/Version.hpp)

add_library(orvik_cli11 INTERFACE)
target_include_directories(orvik_cli11 SYSTEM INTERFACE ${_cli11_copy})
