#pragma once
// windows.h as the Windows host includes it: without the min and max macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
