# Cross build for 64-bit Windows with mingw-w64. The shipped program is the
# 32-bit build; this one runs the Windows tests where the machine has no 32-bit
# execution (Wine then has only its 64-bit side).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
set(MOSAIKON_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
