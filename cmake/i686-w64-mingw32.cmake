# The 32-bit Windows build (win32 preset): for 32-bit hosts.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORVIK_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
