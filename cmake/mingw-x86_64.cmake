# The same sources as 64-bit Windows programs, for machines that run no 32-bit code (see
# scripts/wine-env.sh); run under Wine's 64-bit loader.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_BITS 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
