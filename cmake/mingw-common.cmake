# Shared by the two mingw-w64 toolchain files: they set MINGW_TRIPLE and MINGW_BITS first.
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)

# The cross-built libraries live in the set-up cache (see scripts/win-deps.sh).
get_filename_component(_repo "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT DEFINED WIN_DEPS_PREFIX)
  if(DEFINED ENV{WIN_DEPS_PREFIX})
    set(WIN_DEPS_PREFIX "$ENV{WIN_DEPS_PREFIX}")
  elseif(DEFINED ENV{WIN_DEPS_CACHE})
    set(WIN_DEPS_PREFIX "$ENV{WIN_DEPS_CACHE}/win${MINGW_BITS}/prefix")
  else()
    set(WIN_DEPS_PREFIX "${_repo}/.deps/win${MINGW_BITS}/prefix")
  endif()
endif()
set(WIN_DEPS_PREFIX "${WIN_DEPS_PREFIX}" CACHE PATH "Cross-built libraries for the windows configuration")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} "${WIN_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives first, so nothing but system DLLs is needed beside the programs.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .lib)

set(CMAKE_CROSSCOMPILING_EMULATOR "${_repo}/cmake/wine-run.sh")
