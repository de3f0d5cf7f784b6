# Cross build for 32-bit Windows with Debian's mingw-w64: the shipped program.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
set(MOSAIKON_WINE wine)
# SSE2, which every Windows since 8 requires and every x86 processor since
# 2003 has: the compiler's default for this target is the Pentium Pro, which
# leaves the document's vector loops scalar and does floating point on the x87
# unit. -mstackrealign keeps 16-byte stack variables right in functions the
# system calls with a stack aligned to 4 bytes only (window procedures,
# callbacks, thread starts). The top-level list file applies these to every
# target, so a tree configured before keeps up with them.
set(MOSAIKON_TARGET_OPTIONS -march=pentium4 -mtune=generic -mfpmath=sse -mstackrealign)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
