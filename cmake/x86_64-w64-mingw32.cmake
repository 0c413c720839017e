# The 64-bit Windows build (win64 preset): for 64-bit hosts.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVIK_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
