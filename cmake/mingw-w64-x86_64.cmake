# Cross build for 64-bit Windows with mingw-w64 (Debian's g++-mingw-w64-x86-64): PE32+.
set(VG_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
