# Target dist of the Windows builds: dist/LoadOrvik-<version>-win32.zip or
# dist/LoadOrvik-<version>-win64.zip in the source tree, holding the plug-in,
# the stand-in host module, the reference host, a text on how a host loads
# the importer and the licence (tools/package.sh builds both). The binaries
# lose their debug information; the DLL then gets its description entry
# again.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVIK_DIST_NAME win64)
  set(ORVIK_DIST_BITS 64)
  set(ORVIK_DIST_OTHER win32)
  set(ORVIK_DIST_OTHER_BITS 32)
  set(ORVIK_DIST_CALLING " The entry points use the x64 calling\n   convention.")
else()
  set(ORVIK_DIST_NAME win32)
  set(ORVIK_DIST_BITS 32)
  set(ORVIK_DIST_OTHER win64)
  set(ORVIK_DIST_OTHER_BITS 64)
  set(ORVIK_DIST_CALLING " The entry points use __stdcall.")
endif()

set(ORVIK_DIST_TITLE "LoadOrvik ${PROJECT_VERSION} for ${ORVIK_DIST_BITS}-bit hosts (${ORVIK_DIST_NAME})")
string(LENGTH "${ORVIK_DIST_TITLE}" length)
string(REPEAT "=" ${length} ORVIK_DIST_TITLE_LINE)
set(ORVIK_DIST_FOLDER LoadOrvik-${PROJECT_VERSION}-${ORVIK_DIST_NAME})
set(ORVIK_DIST_STAGE ${PROJECT_BINARY_DIR}/dist/${ORVIK_DIST_FOLDER})
set(ORVIK_DIST_ZIP ${PROJECT_SOURCE_DIR}/dist/${ORVIK_DIST_FOLDER}.zip)
configure_file(${CMAKE_CURRENT_LIST_DIR}/dist/README.txt.in ${PROJECT_BINARY_DIR}/dist/README.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/dist/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_target(
  dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORVIK_DIST_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVIK_DIST_STAGE} ${PROJECT_SOURCE_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:LoadOrvik> $<TARGET_FILE:Kovlan> $<TARGET_FILE:orvik-host>
          ${PROJECT_BINARY_DIR}/dist/README.txt ${PROJECT_BINARY_DIR}/dist/LICENSE.txt ${ORVIK_DIST_STAGE}
  COMMAND ${CMAKE_STRIP} --strip-debug ${ORVIK_DIST_STAGE}/LoadOrvik.dll ${ORVIK_DIST_STAGE}/Kovlan.dll
          ${ORVIK_DIST_STAGE}/orvik-host.exe
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/pe-description.py ${ORVIK_DIST_STAGE}/LoadOrvik.dll
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ORVIK_DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ORVIK_DIST_ZIP} --format=zip ${ORVIK_DIST_FOLDER}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/dist
  COMMENT "Writing ${ORVIK_DIST_ZIP}"
  VERBATIM)
add_dependencies(dist LoadOrvik Kovlan orvik-host)
