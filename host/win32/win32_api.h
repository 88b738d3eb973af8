#pragma once
// windows.h for the host's files. kernel32 declares its own FatalExit, which would clash with the
// seam's; rename the system one while the headers are read, since the host never calls it.
#define FatalExit Win32KernelFatalExit
#include <windows.h>
#undef FatalExit
