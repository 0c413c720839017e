# Cross-compiling Windows binaries with Debian's MinGW-w64 (POSIX threads
# variant) for the target ORVIK_MINGW_TARGET (i686-w64-mingw32 or
# x86_64-w64-mingw32), set by the toolchain file that includes this one.
# Tests run under Wine through tools/wine-run (set in the top-level project,
# which knows the build directory for the Wine prefix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ORVIK_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVIK_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVIK_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVIK_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
