#pragma once
// windows.h as the whole Windows build sees it: the build includes this header first in every C++
// file. kernel32 declares its own FatalExit, which would clash with the seam's; the system one is
// renamed while the headers are read, since nothing here calls it. No min and max macros either.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define FatalExit Win32KernelFatalExit
#include <windows.h>
#undef FatalExit
