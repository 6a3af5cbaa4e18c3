# 32-bit Windows programs with mingw-w64 (posix thread model), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
