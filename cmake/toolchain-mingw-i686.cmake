# Cross build for 32-bit Windows with Debian's mingw-w64: the shipped program.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
set(MOSAIKON_WINE wine)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
