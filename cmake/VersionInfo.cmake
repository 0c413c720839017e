# VERSIONINFO resources of the Windows binaries: the version of
# project(... VERSION ...), what the file is, the product's name and the
# licence's copyright line, as Windows shows them in a file's properties.
#
#   orvik_version_info(TARGET target DESCRIPTION "what the file is")

# The four numbers Windows keeps: major, minor, patch, tweak (0 when absent).
set(ORVIK_VI_NUMBERS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND ORVIK_VI_NUMBERS 0)
  else()
    list(APPEND ORVIK_VI_NUMBERS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN ORVIK_VI_NUMBERS "," ORVIK_VI_NUMBERS)

function(orvik_version_info)
  cmake_parse_arguments(PARSE_ARGV 0 ORVIK_VI "" "TARGET;DESCRIPTION" "")
  get_target_property(type ${ORVIK_VI_TARGET} TYPE)
  if(type STREQUAL EXECUTABLE)
    set(ORVIK_VI_FILE_TYPE VFT_APP)
  else()
    set(ORVIK_VI_FILE_TYPE VFT_DLL)
  endif()
  # The variables first, then the file names, which only the generator knows.
  set(rc ${PROJECT_BINARY_DIR}/version-info/${ORVIK_VI_TARGET}.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionInfo.rc.in ${rc}.in @ONLY)
  file(GENERATE OUTPUT ${rc} INPUT ${rc}.in)
  target_sources(${ORVIK_VI_TARGET} PRIVATE ${rc})
endfunction()

orvik_version_info(TARGET LoadOrvik DESCRIPTION "Orvik ASCII PCB importer plug-in")
orvik_version_info(TARGET Kovlan DESCRIPTION "Kovlan, a stand-in host PCB module with a board in memory")
orvik_version_info(TARGET orvik-host DESCRIPTION "Reference host for the Orvik ASCII PCB importer plug-in")
