# Cross build for Windows with mingw-w64; VG_MINGW_ARCH (x86_64 or i686) is set by the toolchain file
# that includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VG_MINGW_ARCH})

set(VG_MINGW_PREFIX ${VG_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${VG_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VG_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${VG_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VG_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# SSE2 doubles instead of the x87 unit, so no 80-bit intermediates change results (x86_64 has no other).
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# The runtime is linked in, so the programs need nothing beyond the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
