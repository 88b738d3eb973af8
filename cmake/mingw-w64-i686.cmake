# Cross build for 32-bit Windows with mingw-w64 (Debian's g++-mingw-w64-i686).
set(VG_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
